#include "app/application.h"
#include "app/fonts.h"
#include "app/form_main.h"
#include "app/form_splash.h"
#include "app/page_registration.h"
#include "app/page_registry.h"
#include "candidates/popup_monthedit.h"
#include "data/global_data.h"

#include <QLocale>

#include <memory>

namespace {

// The shared pop-up editors: the month picker of the candidate tabs, hidden until used.
void CreatePopUpEditors()
{
    candidates::PopUpMonthEdit();
}

// Closes whatever is still open when the run loop has ended.
void ShutDown(std::unique_ptr<app::TFormSplash>& splash)
{
    while (!app::MainWindowList().isEmpty())
        delete app::MainWindowList().takeFirst();
    splash.reset();
    delete candidates::PopUpMonthEdit();
    app::ClearPageRegistry();
}

} // namespace

int main(int argc, char* argv[])
{
    app::TApplication application(argc, argv);
    application.setApplicationName(app::ApplicationTitle());
    // The program ends when the splash window's sweep has destroyed the last main window.
    application.setQuitOnLastWindowClosed(false);
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China)); // calendars and numbers in Chinese
    app::InstallFontSubstitutions();
    QApplication::setFont(app::WindowFont()); // message boxes and dialogs share the window's font

    auto splash = std::make_unique<app::TFormSplash>();
    splash->show();
    CreatePopUpEditors();
    splash->repaint();
    QApplication::processEvents();

    std::unique_ptr<data::TGlobalData> globalData;
    try {
        globalData = std::make_unique<data::TGlobalData>();
        data::setGlobalData(globalData.get());
    } catch (...) {
        // The rest of the program needs the working database: report why it failed and end.
        app::ReportCurrentException();
        ShutDown(splash);
        return 1;
    }

    app::RegisterPages();
    try {
        new app::TFormMain; // destroyed by the splash window's sweep or at shut-down
    } catch (...) {
        app::ReportCurrentException();
        ShutDown(splash);
        return 1;
    }

    const int result = application.exec();
    ShutDown(splash);
    return result;
}
