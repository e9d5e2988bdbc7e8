// Shows one file dialog of the player and prints what it gave back, for the end-to-end test
// that types into the real dialog.
//
//   dialogprobe open|save <folder to open in> <filter> <FileName before the dialog>
//
// prints "FileName=<...>" and "FileTitle=<...>" on two lines, UTF-8.

#include "dialogs/qtfiledialog.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTextStream>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5 || (args.at(1) != u"open" && args.at(1) != u"save")) {
        QTextStream(stderr) << "usage: dialogprobe open|save <folder> <filter> <FileName>\n";
        return 2;
    }

    // The same Spanish translation the player loads, so the dialog reads as it does there.
    QTranslator qtSpanish;
    if (qtSpanish.load(QLocale(QLocale::Spanish), QStringLiteral("qtbase"), QStringLiteral("_"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtSpanish);

    QtFileDialog dialog;
    dialog.InitDir = args.at(2);
    dialog.Filter = args.at(3);
    dialog.FileName = args.at(4);
    if (args.at(1) == u"open")
        dialog.ShowOpen();
    else
        dialog.ShowSave();

    QTextStream out(stdout);
    out << "FileName=" << dialog.FileName << '\n' << "FileTitle=" << dialog.FileTitle << '\n';
    return 0;
}
