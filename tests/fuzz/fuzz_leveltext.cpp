// Feeds text to the readers of the model's text form. Aborts when a refusal names no line
// inside the text or says nothing, or when an accepted file, written again and read back, does
// not give the same model.
//
// The first byte chooses what the rest is:
//   0  a level file as it is
//   1  edits (a 3-byte offset, then a byte) to a level file of the demo cartridge
//   2  shared.json as it is, read onto the demo cartridge
//   3  edits to the demo cartridge's shared.json
#include "DemoCartridge.h"
#include "gamedata/GameData.h"
#include "gamedata/JsonReader.h"
#include "gamedata/LevelImport.h"
#include "gamedata/LevelTextReader.h"
#include "gamedata/ModelTextWriter.h"
#include "gamedata/SharedTextReader.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

using namespace korvane;

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz_leveltext: %s\n", what);
        std::abort();
    }
}

struct Demo {
    std::unique_ptr<RomImage> image = MakeDemoCartridge(1);
    std::unique_ptr<GameData> data = std::make_unique<GameData>();
    std::string level;
    std::string shared;
    Demo() {
        data->Decode(*image);
        level = ModelTextWriter::LevelText(data->levels[3], "Anvil Keep");
        shared = ModelTextWriter::SharedText(*data);
    }
};

const Demo& TheDemo() {
    static const Demo demo;
    return demo;
}

void CheckRefusal(const TextRefusal& refusal, const std::string& text) {
    const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
    Require(refusal.line >= 1 && refusal.line <= lines, "a refusal outside the text");
    Require(!refusal.message.empty(), "a refusal without a message");
}

std::string Edited(std::string text, const std::uint8_t* data, std::size_t size) {
    for (std::size_t at = 0; at + 4 <= size; at += 4) {
        const std::size_t offset =
            (std::size_t{data[at]} << 16 | std::size_t{data[at + 1]} << 8 | data[at + 2]) %
            (text.size() + 1);
        if (offset == text.size()) {
            text.resize(text.size() / 2); // cut short
        } else {
            text[offset] = static_cast<char>(data[at + 3]);
        }
    }
    return text;
}

void ReadLevel(const std::string& text) {
    const JsonReader::Result json = JsonReader::Read(text);
    if (!json.value) {
        CheckRefusal(TextRefusal{json.errorLine, "", json.message}, text);
    }
    const LevelTextReader::Result read = LevelTextReader::Read(text);
    if (read.refusal) {
        Require(!read.level, "a refused level given out");
        CheckRefusal(*read.refusal, text);
        return;
    }
    Require(read.level.has_value(), "neither a level nor a refusal");
    Require(json.value.has_value(), "a level read from text that is not JSON");
    const std::string again = ModelTextWriter::LevelText(*read.level, read.name);
    const LevelTextReader::Result second = LevelTextReader::Read(again);
    Require(second.level.has_value(), "a level written again is refused");
    Require(*second.level == *read.level, "a level written again reads back otherwise");
    // As pack takes it: the level into the demo's model, its character pages made to agree,
    // then saved and opened again, the model is what was read.
    const Demo& demo = TheDemo();
    auto model = std::make_unique<GameData>(*demo.data);
    model->levels[3] = *read.level;
    if (LevelImport::ReconcileTilePages(*model, *demo.image)) {
        return; // copies of a page changed in different ways: pack refuses them
    }
    auto image = std::make_unique<RomImage>(*demo.image);
    model->Encode(*image);
    LevelImport::WriteUndecodedBytes(*model, image->bytes);
    auto decoded = std::make_unique<GameData>();
    decoded->Decode(*image);
    // (The About box tiles are only read from the cartridge, never written.)
    Require(decoded->levels == model->levels && decoded->enemyGraphics == model->enemyGraphics &&
                decoded->recordBanks == model->recordBanks,
            "a level read from text does not survive the cartridge");
}

void ReadShared(const std::string& text) {
    const Demo& demo = TheDemo();
    auto data = std::make_unique<GameData>(*demo.data);
    const auto refusal = SharedTextReader::Read(text, *demo.image, *data);
    if (refusal) {
        CheckRefusal(*refusal, text);
        Require(*data == *demo.data, "a refused shared file changed the model");
        return;
    }
    auto again = std::make_unique<GameData>(*demo.data);
    Require(!SharedTextReader::Read(ModelTextWriter::SharedText(*data), *demo.image, *again),
            "shared tables written again are refused");
    Require(*again == *data, "shared tables written again read back otherwise");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::uint8_t* rest = data + 1;
    const std::size_t restSize = size - 1;
    const std::string raw(reinterpret_cast<const char*>(rest), restSize);
    switch (data[0] % 4) {
    case 0:
        ReadLevel(raw);
        break;
    case 1:
        ReadLevel(Edited(TheDemo().level, rest, restSize));
        break;
    case 2:
        ReadShared(raw);
        break;
    default:
        ReadShared(Edited(TheDemo().shared, rest, restSize));
        break;
    }
    return 0;
}
