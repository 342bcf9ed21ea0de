#include "AppTestSupport.h"

#include "DemoCartridge.h"

#include <gtest/gtest.h>

namespace korvane::test {

AppFixture::AppFixture() = default;

AppFixture::~AppFixture() {
    app_.reset();
}

QString AppFixture::WriteCartridge(const QString& name, std::uint32_t seed) {
    const QString path = folder_.filePath(name);
    std::string error;
    EXPECT_TRUE(WriteDemoCartridge(path.toStdString(), seed, error)) << error;
    return path;
}

bool AppFixture::Start(const QStringList& words) {
    return Start(words, {});
}

bool AppFixture::Start(const QStringList& words, std::function<void(DisplayContext&)> displayHook) {
    app_ = std::make_unique<CKorvaneApp>(reporter, prompt, settingsFile());
    app_->SetDisplayHook(std::move(displayHook));
    return app_->InitInstance(QStringList{QStringLiteral("korvane")} + words);
}

} // namespace korvane::test
