#include "platform/system/SystemInfo.h"

#include "tests/support/ConfigFiles.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <QDir>

namespace sorvella {
namespace {

TEST(SystemInfo, DocumentsFolderFallsBackToHomeWhenMissing)
{
    test::TempDir documents("documents");
    test::setDocumentsFolder(documents.path());
    EXPECT_EQ(documentsFolder(), documents.path().string());

    test::setDocumentsFolder(documents.path() / "gone");
    EXPECT_EQ(documentsFolder(), QDir::homePath().toStdString());
}

TEST(SystemInfo, TempDirectoryLosesTrailingSlashOnly)
{
    test::TempDir temp("temp");
    const QByteArray tmpdir = qgetenv("TMPDIR");
    const auto withTmpdir = [](const std::string& value) {
        qputenv("TMPDIR", QByteArray::fromStdString(value));
        return systemTempDirectory();
    };
    EXPECT_EQ(withTmpdir(temp.path().string() + "/"), temp.path().string());
    EXPECT_EQ(withTmpdir("/"), "/");
    test::writeText(temp.path() / "file", "not a directory");
    EXPECT_EQ(withTmpdir((temp.path() / "file").string()), "/tmp");
    qputenv("TMPDIR", tmpdir);
}

} // namespace
} // namespace sorvella
