#include "data/global_data.h"
#include "data/setup_logic.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

using data::SetupChoice;
using data::TSetupLogic;

namespace {

class SetupLogicTest : public ::testing::Test
{
protected:
    SetupLogicTest()
        : globalData(database.path(), nullptr)
        , logic(globalData)
    {
    }

    QString setting(const QString& key)
    {
        QString value;
        globalData.GetSetting(key, value);
        return value;
    }
    void setSetting(const QString& key, const QString& value) { globalData.SetSetting(key, value); }
    QVariant scalar(const QString& sql) { return globalData.connection().scalar(sql); }
    void execute(const QString& sql) { globalData.connection().execute(sql); }

    // Saves, answering the question with `answer` and counting how often it was asked.
    TSetupLogic::SaveResult save(const SetupChoice& choice, bool answer = true)
    {
        return logic.Save(choice, [this, answer] {
            ++questions;
            return answer;
        });
    }

    void addCandidates()
    {
        execute("INSERT INTO 候选人 (姓名, 是否删除, 提名渠道ID, 遴选部门ID) VALUES ('甲', '否', 9, 9)");
        execute("INSERT INTO 候选人 (姓名, 是否删除, 提名渠道ID, 遴选部门ID) VALUES ('乙', '是', 9, 9)");
    }

    testing_support::WorkingDatabase database;
    data::TGlobalData globalData;
    TSetupLogic logic;
    int questions = 0;
};

TEST_F(SetupLogicTest, OffersTheThreeChannelsInOrder)
{
    const QVector<data::SetupItem> channels = logic.LoadChannels();
    ASSERT_EQ(channels.size(), 3);
    EXPECT_EQ(channels[0].id, 1);
    EXPECT_EQ(channels[1].id, 5);
    EXPECT_EQ(channels[2].id, 2);
    EXPECT_EQ(channels[1].name, "部门（单位）推荐");
    EXPECT_TRUE(logic.LoadDepartments(1).isEmpty());
    EXPECT_FALSE(logic.LoadDepartments(2).isEmpty());
}

TEST_F(SetupLogicTest, StoredChannelThatIsNoNumberReadsAsNone)
{
    setSetting("遴选部门类别ID", "abc");
    EXPECT_EQ(logic.StoredChannel(), 0);
    setSetting("遴选部门类别ID", "5");
    EXPECT_EQ(logic.StoredChannel(), 5);
}

TEST_F(SetupLogicTest, AcademicianChannelStoresFixedValues)
{
    execute("INSERT INTO 遴选委员会 (名称, 遴选部门ID) VALUES ('委员会', 7)");
    // Whatever else was chosen, channel 1 stores department -1 and no unit.
    ASSERT_EQ(save({1, 12, true, "某单位", "某人"}), TSetupLogic::SaveResult::Saved);
    EXPECT_EQ(setting("遴选部门类别ID"), "1");
    EXPECT_EQ(setting("遴选部门ID"), "-1");
    EXPECT_EQ(setting("是否提名单位"), "0");
    EXPECT_EQ(setting("推荐单位名称"), ""); // left as it was
    EXPECT_EQ(scalar("SELECT 遴选部门ID FROM 遴选委员会").toInt(), -1);
    EXPECT_EQ(questions, 0); // no active candidate
}

TEST_F(SetupLogicTest, ChannelChangeAsksAndUpdatesEveryCandidateOnYes)
{
    addCandidates();
    ASSERT_EQ(save({5, 3, false, "", ""}, true), TSetupLogic::SaveResult::Saved);
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(scalar("SELECT count(*) FROM 候选人 WHERE 提名渠道ID=5 AND 遴选部门ID=3").toInt(), 2);
}

TEST_F(SetupLogicTest, AnswerNoSavesSettingsButKeepsCandidates)
{
    addCandidates();
    execute("INSERT INTO 遴选单位信息 (单位名称, 遴选部门ID) VALUES ('遴选单位', 7)");
    ASSERT_EQ(save({5, 3, true, " 青崖研究所 ", "张三"}, false), TSetupLogic::SaveResult::Saved);
    EXPECT_EQ(questions, 2); // channel and unit
    EXPECT_EQ(setting("遴选部门类别ID"), "5");
    EXPECT_EQ(setting("遴选部门ID"), "3");
    EXPECT_EQ(setting("是否提名单位"), "1");
    EXPECT_EQ(setting("推荐单位名称"), "青崖研究所");
    EXPECT_EQ(scalar("SELECT 遴选部门ID FROM 遴选单位信息").toInt(), 3);
    EXPECT_EQ(scalar("SELECT count(*) FROM 候选人 WHERE 提名渠道ID=9 AND 遴选部门ID=9 AND 推荐单位名称 IS NULL").toInt(), 2);
}

TEST_F(SetupLogicTest, UnchangedSaveAsksNothing)
{
    addCandidates();
    const SetupChoice choice{2, 4, true, "学会", "王五"};
    ASSERT_EQ(save(choice, false), TSetupLogic::SaveResult::Saved);
    questions = 0;
    ASSERT_EQ(save(choice, true), TSetupLogic::SaveResult::Saved);
    EXPECT_EQ(questions, 0);
    EXPECT_EQ(scalar("SELECT count(*) FROM 候选人 WHERE 提名渠道ID=9").toInt(), 2);
}

TEST_F(SetupLogicTest, OnlyTheUnitChangedAsksOnceAndStampsTheUnit)
{
    ASSERT_EQ(save({2, 4, true, "学会", "王五"}), TSetupLogic::SaveResult::Saved);
    addCandidates();
    questions = 0;
    ASSERT_EQ(save({2, 4, true, "学会", "赵六"}, true), TSetupLogic::SaveResult::Saved);
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(scalar("SELECT count(*) FROM 候选人 WHERE 提名渠道ID=2 AND 遴选部门ID=4 AND 推荐单位负责人='赵六'").toInt(), 2);
}

TEST_F(SetupLogicTest, IncompleteChoicesWriteNothing)
{
    const SetupChoice cases[] = {
        {5, 3, true, "", "张三"},
        {5, 3, true, "青崖研究所", "  "},
        {5, std::nullopt, false, "", ""}, // a channel without department
    };
    for (const SetupChoice& choice : cases) {
        EXPECT_EQ(save(choice), TSetupLogic::SaveResult::Incomplete);
        EXPECT_EQ(setting("遴选部门类别ID"), "0");
        EXPECT_EQ(setting("遴选部门ID"), "0");
        EXPECT_EQ(setting("是否提名单位"), "0");
        EXPECT_EQ(setting("推荐单位名称"), "");
    }
    EXPECT_EQ(questions, 0);
}

} // namespace
