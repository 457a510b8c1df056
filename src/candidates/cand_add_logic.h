#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

namespace data {
class TGlobalData;
}
namespace db {
class Connection;
}

namespace candidates {

inline const QString kIdCard = QStringLiteral("身份证");

// Removes every ASCII space and every ideographic space (U+3000).
QString removeSpaces(const QString& text);

// A live candidate other than `exceptId` holds this identity number (letter case ignored).
bool liveCandidateHasNumber(db::Connection& connection, const QVariant& number, qint64 exceptId = 0);

// The six identifying facts of a new candidate as the user entered them.
struct NewCandidate
{
    QString name;
    QString gender;
    QDate birthday;
    QString idType;
    QString idNumber; // as typed, before trimming
    qint64 departmentId = 0;

    // All six marked fields are filled.
    bool isComplete() const;
    // An identity card number whose length, before trimming, is not 18.
    bool needsIdLengthWarning() const;
};

// Creates new candidates stamped with the installation's settings.
class CandidateCreator
{
public:
    explicit CandidateCreator(data::TGlobalData& data);

    // A live candidate already holds this (trimmed) number; letter case is ignored.
    bool isDuplicate(const QString& idNumber) const;

    // Writes the candidate and its three one-to-one rows in one transaction and returns the new
    // key. The settings are read before anything is written: a setting that is not a whole number
    // fails without writing.
    qint64 create(const NewCandidate& candidate);

private:
    QString setting(const QString& key) const;
    QString ungroupedCommittee(const QString& departmentText) const;

    data::TGlobalData& m_data;
};

} // namespace candidates
