#include "printing/desktop_presenter.h"

#include "app/app_error.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

namespace printing {

void DesktopPresenter::present(const QString& path)
{
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(QDir::fromNativeSeparators(path))))
        throw app::AppError(QStringLiteral("无法打开文件“%1”，请在文件夹中直接打开它。").arg(QDir::toNativeSeparators(path)));
}

} // namespace printing
