#include "dialogs/dialogfilter.h"
#include "files/mediatypes.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QRandomGenerator>
#include <QtTest>

#include <memory>

namespace {

// What the real dialog makes of one name filter: the text its type list shows, and the
// patterns it applies to the folder's files.
struct QtReading {
    QString shown;
    QStringList applied;
};

} // namespace

class DialogFilterTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // The dialog keeps its settings in the user's configuration; not the developer's.
        QVERIFY(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
        m_dialog = std::make_unique<QFileDialog>();
        m_dialog->setOption(QFileDialog::DontUseNativeDialog);
        m_dialog->setOption(QFileDialog::HideNameFilterDetails);
    }

    // The filters the player uses read in the dialog exactly as written, each with its patterns:
    // "Agregar" offers the four original kinds first, then all sound files, then each newer kind.
    void playerFiltersAsWritten()
    {
        QVERIFY(
            addFilter().startsWith(QStringLiteral("MP3 Files(*.mp3)|*.mp3|Midi Files (*.mid)|*.mid|Wav Files "
                                                  "(*.wav)|*.wav|Mpg Files (*.mpg)|*.mpg|")));
        const QList<QtReading> readings = readByQt(qtNameFilters(addFilter()));
        QStringList shown;
        for (const QtReading &reading : readings)
            shown << reading.shown;
        QCOMPARE(shown,
            (QStringList { QStringLiteral("MP3 Files(*.mp3)"), QStringLiteral("Midi Files (*.mid)"),
                QStringLiteral("Wav Files (*.wav)"), QStringLiteral("Mpg Files (*.mpg)"),
                QStringLiteral("Todos los archivos de sonido"), QStringLiteral("FLAC (*.flac)"),
                QStringLiteral("Ogg y Opus (*.ogg *.oga *.opus)"), QStringLiteral("AAC y M4A (*.m4a *.aac)"),
                QStringLiteral("WMA (*.wma)") }));
        QCOMPARE(readings.at(0).applied, QStringList { QStringLiteral("*.mp3") });
        QCOMPARE(readings.at(3).applied, QStringList { QStringLiteral("*.mpg") });
        QCOMPARE(readings.at(4).applied.size(), 11);
        QVERIFY(readings.at(4).applied.contains(QStringLiteral("*.mid")));
        QVERIFY(readings.at(4).applied.contains(QStringLiteral("*.wma")));
        QCOMPARE(readings.at(6).applied,
            (QStringList { QStringLiteral("*.ogg"), QStringLiteral("*.oga"), QStringLiteral("*.opus") }));

        const QList<QtReading> playlists = readByQt(qtNameFilters(QStringLiteral("SMP Files(*.smp)|*.smp")));
        QCOMPARE(playlists.size(), 1);
        QCOMPARE(playlists.at(0).shown, QStringLiteral("SMP Files(*.smp)"));
        QCOMPARE(playlists.at(0).applied, QStringList { QStringLiteral("*.smp") });
    }

    // Several patterns of one pair, separated by ';', all apply.
    void severalPatterns()
    {
        const QList<QtReading> readings
            = readByQt(qtNameFilters(QStringLiteral("Pictures|*.bmp;*.jpg; *.gif ;;|Text|*.txt")));
        QCOMPARE(readings.size(), 2);
        QCOMPARE(readings.at(0).shown, QStringLiteral("Pictures"));
        QCOMPARE(readings.at(0).applied,
            (QStringList { QStringLiteral("*.bmp"), QStringLiteral("*.jpg"), QStringLiteral("*.gif") }));
        QCOMPARE(readings.at(1).applied, QStringList { QStringLiteral("*.txt") });
    }

    void malformed_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("empty") << QString() << QStringList();
        QTest::newRow("description alone") << QStringLiteral("MP3 Files") << QStringList();
        QTest::newRow("dangling description")
            << QStringLiteral("A|*.a|B") << QStringList { QStringLiteral("A (*.a)") };
        QTest::newRow("no pattern") << QStringLiteral("A||B|*.b")
                                    << QStringList { QStringLiteral("B (*.b)") };
        QTest::newRow("no description")
            << QStringLiteral("|*.x;*.y") << QStringList { QStringLiteral("*.x;*.y (*.x *.y)") };
        QTest::newRow("line breaks") << QStringLiteral("Two\r\nlines\t|*.m")
                                     << QStringList { QStringLiteral("Two lines (*.m)") };
        QTest::newRow("pattern with parentheses or spaces")
            << QStringLiteral("A|*.(a);a b;*.ok") << QStringList { QStringLiteral("A (*.ok)") };
        QTest::newRow("pattern outside ASCII") << QStringLiteral("Canción|*.ñ") << QStringList();
    }

    // Broken filter texts give what can be used and never a filter the dialog would misread.
    void malformed()
    {
        QFETCH(QString, filter);
        QFETCH(QStringList, expected);
        QCOMPARE(qtNameFilters(filter), expected);
    }

    // Whatever the text, the dialog applies only patterns that the text holds, and shows each
    // description on one line: it never takes a description for patterns.
    void anyTextIsReadSafely()
    {
        const QString alphabet = QStringLiteral("||||;;;**..()  \n\taAz9ñ[]{}$&~:é\u2028\\/");
        QRandomGenerator random(20240611);
        for (int round = 0; round < 300; ++round) {
            QString text;
            const int length = random.bounded(40);
            for (int i = 0; i < length; ++i)
                text += alphabet.at(random.bounded(alphabet.size()));
            const QStringList nameFilters = qtNameFilters(text);
            for (const QtReading &reading : readByQt(nameFilters)) {
                QVERIFY2(!reading.applied.isEmpty(), qPrintable(text));
                QVERIFY2(!reading.shown.contains(u'\n'), qPrintable(text));
                for (const QString &pattern : reading.applied)
                    QVERIFY2(text.contains(pattern), qPrintable(text + QStringLiteral(" -> ") + pattern));
            }
        }
    }

private:
    QList<QtReading> readByQt(const QStringList &nameFilters)
    {
        m_dialog->setNameFilters(nameFilters);
        auto *types = m_dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
        auto *model = m_dialog->findChild<QFileSystemModel *>();
        QList<QtReading> readings;
        for (int i = 0; i < nameFilters.size(); ++i) {
            m_dialog->selectNameFilter(nameFilters.at(i));
            readings << QtReading { types->itemText(i), model->nameFilters() };
        }
        return readings;
    }

    QTemporaryDir m_config;
    std::unique_ptr<QFileDialog> m_dialog;
};

QTEST_MAIN(DialogFilterTest)
#include "dialogfilter.moc"
