#pragma once

#include <QString>
#include <QStringList>

namespace printing {

// Hands a saved document or list to the user (the desktop opens it in its word processor or
// spreadsheet program). The program itself never prints.
class DocumentPresenter
{
public:
    virtual ~DocumentPresenter() = default;
    virtual void present(const QString& path) = 0;
};

// Records what would have been shown; tests and tools use it instead of the desktop.
class ScriptedPresenter : public DocumentPresenter
{
public:
    void present(const QString& path) override { presented << path; }
    QStringList presented;
};

} // namespace printing
