// Builds the delivered working database from the sources in the repository.
//
//   make_database --output FILE --reference DIR [--templates DIR] [--channel N --department N]
//                 [--if-missing | --force]
//
// An existing file is never touched unless --force is given (it may hold a user's data);
// --if-missing turns an existing file into success without doing anything.
#include "data/database_builder.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Builds the delivered working database."));
    parser.addHelpOption();
    const QCommandLineOption output(QStringLiteral("output"), QStringLiteral("Database file to create."),
                                    QStringLiteral("file"));
    const QCommandLineOption reference(QStringLiteral("reference"), QStringLiteral("Reference data folder."),
                                       QStringLiteral("dir"));
    const QCommandLineOption templates(QStringLiteral("templates"), QStringLiteral("Print template folder."),
                                       QStringLiteral("dir"));
    const QCommandLineOption channel(QStringLiteral("channel"), QStringLiteral("Issued 遴选部门类别ID."),
                                     QStringLiteral("n"), QStringLiteral("0"));
    const QCommandLineOption department(QStringLiteral("department"), QStringLiteral("Issued 遴选部门ID."),
                                        QStringLiteral("n"), QStringLiteral("0"));
    const QCommandLineOption ifMissing(QStringLiteral("if-missing"),
                                       QStringLiteral("Do nothing when the file exists."));
    const QCommandLineOption force(QStringLiteral("force"), QStringLiteral("Replace an existing file."));
    parser.addOptions({output, reference, templates, channel, department, ifMissing, force});
    parser.process(application);

    const QString path = parser.value(output);
    if (path.isEmpty()) {
        std::fprintf(stderr, "make_database: --output is required\n");
        return 2;
    }
    if (QFileInfo::exists(path) && !parser.isSet(force)) {
        if (parser.isSet(ifMissing)) {
            std::printf("make_database: %s exists, left as it is\n", qPrintable(path));
            return 0;
        }
        std::fprintf(stderr, "make_database: %s exists; use --force to replace it\n", qPrintable(path));
        return 1;
    }

    data::BuildOptions options;
    options.referenceDir = parser.value(reference);
    options.templatesDir = parser.value(templates);
    bool channelOk = false;
    bool departmentOk = false;
    options.channel = parser.value(channel).toInt(&channelOk);
    options.department = parser.value(department).toInt(&departmentOk);
    if (!channelOk || !departmentOk) {
        std::fprintf(stderr, "make_database: --channel and --department take whole numbers\n");
        return 2;
    }

    // Build beside the target and move it into place, so that a failed build leaves the old file.
    const QString building = path + QStringLiteral(".building");
    QFile::remove(building);
    try {
        data::buildDatabase(building, options);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "make_database: %s\n", error.what());
        return 1;
    }
    if (QFileInfo::exists(path) && !QFile::remove(path)) {
        std::fprintf(stderr, "make_database: cannot replace %s\n", qPrintable(path));
        QFile::remove(building);
        return 1;
    }
    if (!QFile::rename(building, path)) {
        std::fprintf(stderr, "make_database: cannot create %s\n", qPrintable(path));
        return 1;
    }
    std::printf("make_database: created %s\n", qPrintable(path));
    return 0;
}
