#include "AppTestSupport.h"

#include "DemoCartridge.h"

#include <QFile>

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

std::vector<std::uint8_t> ReadFileBytes(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    const QByteArray bytes = file.readAll();
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

void WriteFileBytes(const QString& path, const std::vector<std::uint8_t>& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size())),
        static_cast<qint64>(bytes.size()));
}

} // namespace korvane::test
