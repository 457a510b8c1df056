#pragma once

#include <QString>
#include <QTemporaryDir>

namespace testing_support {

inline const QString kPassword = QStringLiteral("384952");

// The repository's reference data folder.
QString referenceDir();

// Builds a delivered working database (schema, the repository's reference data and templates)
// at `path`.
void buildWorkingDatabase(const QString& path);

// A temporary folder holding a freshly built working database, built once per test program and
// copied for each test.
class WorkingDatabase
{
public:
    WorkingDatabase();
    QString path() const { return m_path; }
    QString folder() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QString m_path;
};

} // namespace testing_support
