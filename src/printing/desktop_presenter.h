#pragma once

#include "printing/document_presenter.h"

namespace printing {

// Opens the file with the program the desktop associates with it.
class DesktopPresenter : public DocumentPresenter
{
public:
    // Throws app::AppError when the desktop cannot open the file.
    void present(const QString& path) override;
};

} // namespace printing
