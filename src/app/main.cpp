#include "data/global_data.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    application.setApplicationName(QStringLiteral("玄圃学苑院士候选人提名系统"));
    try {
        data::TGlobalData globalData;
        data::setGlobalData(&globalData);
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, application.applicationName(), QString::fromUtf8(error.what()));
        return 1;
    }
    return 0;
}
