#include "app/app_error.h"
#include "app/lib.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

namespace {

// Sets an environment variable for the life of the object.
class ScopedEnvironment
{
public:
    ScopedEnvironment(const char* name, const QString& value)
        : m_name(name)
        , m_had(qEnvironmentVariableIsSet(name))
        , m_old(qgetenv(name))
    {
        qputenv(name, value.toLocal8Bit());
    }
    ~ScopedEnvironment()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

TEST(TempFileNames, FollowThePrefixAndExtensionRules)
{
    QTemporaryDir dir;
    ScopedEnvironment temp("Temp", dir.path());

    const QString plain = app::MakeTempFileName(QString());
    EXPECT_TRUE(QFileInfo(plain).isFile()) << "with no extension the empty file is the name";
    EXPECT_EQ(QFileInfo(plain).size(), 0);
    EXPECT_TRUE(QFileInfo(plain).fileName().startsWith(QLatin1Char('_')));
    EXPECT_TRUE(plain.endsWith(QStringLiteral(".tmp")));
    EXPECT_EQ(QFileInfo(plain).absolutePath(), QFileInfo(dir.path()).absoluteFilePath());

    const QString sheet = app::MakeTempFileName(QStringLiteral(".xls"));
    EXPECT_TRUE(sheet.endsWith(QStringLiteral(".tmp.xls")));
    EXPECT_FALSE(QFileInfo::exists(sheet));
    EXPECT_TRUE(QFileInfo::exists(sheet.chopped(4))) << "the reserving .tmp file stays";

    QSet<QString> names;
    for (int i = 0; i < 50; ++i)
        names.insert(app::MakeTempFileName(QStringLiteral(".doc")));
    EXPECT_EQ(names.size(), 50) << "a name is never handed out twice";
}

TEST(TempFileNames, FallBackToTheSystemFolderAndFailClearly)
{
    {
        ScopedEnvironment temp("Temp", QString());
        const QString name = app::MakeTempFileName(QString());
        EXPECT_EQ(QFileInfo(name).absolutePath(), QFileInfo(QDir::tempPath()).absoluteFilePath());
        QFile::remove(name);
    }
    QTemporaryDir dir;
    ScopedEnvironment temp("Temp", dir.filePath(QStringLiteral("no/such/folder")));
    EXPECT_THROW(app::MakeTempFileName(QStringLiteral(".doc")), app::AppError);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("no"))));
}

TEST(WorkFolder, IsTheDocumentsFolderPlusQzv2009CreatedOnce)
{
    QTemporaryDir home;
    ScopedEnvironment xdg("XDG_DOCUMENTS_DIR", home.filePath(QStringLiteral("a/b/Documents")));
    ScopedEnvironment homeVar("HOME", home.path());
    const QString documents = app::GetSpecialFolder(app::kCsidlPersonal);
    ASSERT_FALSE(documents.isEmpty());
    EXPECT_FALSE(documents.endsWith(QLatin1Char('/')));

    const QString first = app::GetWorkFolder();
    EXPECT_EQ(first, documents + QStringLiteral("/QZV2009/"));
    EXPECT_TRUE(QFileInfo(first).isDir()) << "every missing parent is created";
    QFile marker(first + QStringLiteral("marker"));
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.close();
    EXPECT_EQ(app::GetWorkFolder(), first);
    EXPECT_TRUE(marker.exists()) << "the second call leaves the folder as it is";
    EXPECT_EQ(app::GetEnvironmentString(QStringLiteral("HOME")), home.path());
    EXPECT_EQ(app::GetEnvironmentString(QStringLiteral("QZ_SURELY_NOT_SET_ANYWHERE")), QString());
}

} // namespace
