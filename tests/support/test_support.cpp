#include "support/test_support.h"

#include "data/database_builder.h"

#include <QDir>
#include <QFile>

#include <stdexcept>

namespace testing_support {

QString referenceDir()
{
    return QStringLiteral(QZ_SOURCE_DIR "/data/reference");
}

void buildWorkingDatabase(const QString& path)
{
    data::BuildOptions options;
    options.referenceDir = referenceDir();
    options.templatesDir = QStringLiteral(QZ_SOURCE_DIR "/data/templates");
    data::buildDatabase(path, options);
}

namespace {

const QString& templateDatabase()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString file = dir.filePath(QStringLiteral("template.mdb"));
        buildWorkingDatabase(file);
        return file;
    }();
    return path;
}

} // namespace

WorkingDatabase::WorkingDatabase()
{
    m_path = m_dir.filePath(QStringLiteral("qzv2017.mdb"));
    if (!QFile::copy(templateDatabase(), m_path))
        throw std::runtime_error("cannot copy the test database");
    QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner);
}

} // namespace testing_support
