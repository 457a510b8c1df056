#pragma once

#include <QObject>
#include <QStringList>

#include <vector>

namespace data {
class TGlobalData;
}
namespace db {
class TableCopy;
}

namespace candidates {

// One candidate's whole dossier as the editor holds it: fifteen table copies, loaded together and
// saved table by table in a fixed order, with the editor's field rules installed on them.
class CandidateDossier : public QObject
{
    Q_OBJECT
public:
    CandidateDossier(data::TGlobalData& data, qint64 candidateId, QObject* parent = nullptr);
    ~CandidateDossier() override;

    qint64 candidateId() const { return m_candidateId; }

    // Opens every copy with the candidate's rows.
    void load();

    // The copies in their loading and saving order.
    const std::vector<db::TableCopy*>& copies() const { return m_copies; }
    // A copy by its name ("CDSCandidate", "CDSParty", ...); null when there is none.
    db::TableCopy* copy(const QString& name) const;
    db::TableCopy& candidate() const { return *m_candidate; }

    // Some copy holds logged changes or a row with unposted changes.
    bool hasPendingChanges() const;

    // Saves every copy in order and returns the messages to show, in order. A duplicate identity
    // number stops the save before anything is written.
    QStringList save();
    // Drops every unposted edit and every logged change.
    void cancel();

private:
    struct Spec;
    db::TableCopy* addCopy(const Spec& spec);
    void installFieldRules();
    void installNewRowRules(db::TableCopy& copy, bool listTable);
    void stampCandidate();
    bool isAcademicianKeyTaken(const db::TableCopy& table, qint64 id) const;

    data::TGlobalData& m_data;
    qint64 m_candidateId;
    std::vector<db::TableCopy*> m_copies;
    db::TableCopy* m_candidate = nullptr;
    db::TableCopy* m_extraInfo = nullptr;
    db::TableCopy* m_schoolRecord = nullptr;
    db::TableCopy* m_academicians = nullptr;
};

// The posting error text as the user reads it ("Field '姓名' must have a value" becomes
// "请检查字段 '姓名' 是否填写完整").
QString rewritePostMessage(QString message);

// A stamp: the digit naming the part of the dossier, "@" and the local time in 17 digits.
QString makeStamp(int part);

} // namespace candidates
