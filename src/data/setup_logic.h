#pragma once

#include <QString>
#include <QVector>

#include <functional>
#include <optional>

namespace data {

class TGlobalData;

// A choice offered by the settings page: a nomination channel or a selecting department.
struct SetupItem
{
    qint64 id = 0;
    QString name;
};

// What the user chose on the settings page.
struct SetupChoice
{
    qint64 channel = 0;
    std::optional<qint64> department; // none when the department list is empty
    bool namedUnit = false;
    QString unitName;
    QString personInCharge;
};

// The nomination settings of the installation: the channels and departments offered, the stored
// choice, and saving a new choice (optionally stamping it onto every candidate).
class TSetupLogic
{
public:
    static constexpr qint64 kAcademicianChannel = 1;

    enum class SaveResult { Saved, Incomplete };
    // Asked before the settings are applied to the existing candidates; true applies them.
    using Confirm = std::function<bool()>;

    explicit TSetupLogic(TGlobalData& data);

    // Channels 1, 5 and 2, in that order, as far as they exist.
    QVector<SetupItem> LoadChannels();
    // The selecting departments of a channel, by code.
    QVector<SetupItem> LoadDepartments(qint64 channel);

    // The stored channel; text that is not a whole number reads as 0 (no channel chosen yet).
    qint64 StoredChannel();
    // The stored department; throws when the stored text is not a whole number.
    qint64 StoredDepartment();
    // Whether the user is one specific nominating society or unit; throws on a non-integer text.
    bool StoredNamedUnit();
    QString Setting(const QString& key);
    // The election year issued with the database ("提名年份").
    QString NominationYear() { return Setting(QStringLiteral("提名年份")); }

    // Saves the choice step by step. Nothing is written when the choice is incomplete: a named
    // unit without its name or person in charge, or a channel with no department.
    SaveResult Save(SetupChoice choice, const Confirm& confirmApplyToCandidates);

private:
    int ActiveCandidateCount();
    QVector<SetupItem> ReadItems(const QString& sql);
    void SaveChannelAndDepartment(const SetupChoice& choice, int candidates, const Confirm& confirm);
    void SaveUnit(const SetupChoice& choice, int candidates, const Confirm& confirm);

    TGlobalData& m_data;
};

} // namespace data
