#pragma once

#include "app/form_main.h"
#include "app/message_box.h"
#include "app/page.h"
#include "app/page_registration.h"
#include "app/page_registry.h"
#include "data/global_data.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <functional>
#include <memory>

// A working database opened as the program's data module, the program's pages registered and
// message boxes scripted; main windows made by a test are destroyed after it.
class ShellTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        globalData = std::make_unique<data::TGlobalData>(database.path(), nullptr);
        data::setGlobalData(globalData.get());
        app::ClearPageRegistry();
        app::RegisterPages();
        app::MessageBox::startScript();
    }

    void TearDown() override
    {
        while (!app::MainWindowList().isEmpty())
            delete app::MainWindowList().takeFirst();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        app::MessageBox::stopScript();
        app::ClearPageRegistry();
        data::setGlobalData(nullptr);
    }

    QString setting(const QString& key)
    {
        QString value;
        globalData->GetSetting(key, value);
        return value;
    }

    void setSetting(const QString& key, const QString& value) { globalData->SetSetting(key, value); }

    QVariant scalar(const QString& sql) { return globalData->connection().scalar(sql); }
    void execute(const QString& sql) { globalData->connection().execute(sql); }

    static void releaseDeferred() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    // Runs `answer` on the next modal dialog once it is showing.
    static void whenDialogShows(std::function<void(QDialog*)> answer)
    {
        QTimer::singleShot(0, [answer = std::move(answer)] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            answer(dialog);
        });
    }

    testing_support::WorkingDatabase database;
    std::unique_ptr<data::TGlobalData> globalData;
};
