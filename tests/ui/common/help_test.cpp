// The help window: each context number opens its own page, and every page shipped is there,
// has a title and links only to pages that exist.

#include <QListWidget>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>

#include "ui/common/help.h"
#include "ui/common/resources.h"

using namespace wachtrix::ui;

namespace {

QString PageText(const QString& url) {
    QFile file(QUrl(url).toString().replace("qrc:", ":"));
    if (!file.open(QIODevice::ReadOnly)) return QString();
    return QString::fromUtf8(file.readAll());
}

QTextBrowser* Browser() {
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == "HelpWindow") return top->findChild<QTextBrowser*>("HelpBrowser");
    return nullptr;
}

}  // namespace

class HelpTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { EnsureResources(); }

    void contextsOpenTheirPages_data() {
        QTest::addColumn<int>("context");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("heading");
        QTest::newRow("graphs") << 10 << "qrc:/help/graphs.html"
                                << "Graph windows";
        QTest::newRow("queue") << 12 << "qrc:/help/queue.html"
                               << "The queue window";
        QTest::newRow("markov") << 13 << "qrc:/help/markov.html"
                                << "Markov chains";
        QTest::newRow("M/G/1") << 100 << "qrc:/help/mg1.html"
                               << "M/G/1";
        QTest::newRow("D/G/1") << 110 << "qrc:/help/dg1.html"
                               << "D/G/1";
        QTest::newRow("M/M/c") << 120 << "qrc:/help/mmc.html"
                               << "M/M/c";
        QTest::newRow("M/D/c") << 130 << "qrc:/help/mdc.html"
                               << "M/D/c";
        QTest::newRow("D/M/c") << 140 << "qrc:/help/dmc.html"
                               << "D/M/c";
        QTest::newRow("G/M/c") << 150 << "qrc:/help/gmc.html"
                               << "G/M/c";
        QTest::newRow("finite capacity") << 160 << "qrc:/help/fincap.html"
                                         << "Finite capacity";
        QTest::newRow("finite source") << 170 << "qrc:/help/finsrc.html"
                                       << "Finite source";
        QTest::newRow("transient") << 180 << "qrc:/help/mm1tran.html"
                                   << "Transient M/M/1";
        QTest::newRow("M/M/c/c+N") << 200 << "qrc:/help/mmcn.html"
                                   << "M/M/c/c+N";
        QTest::newRow("unknown number") << 190 << "qrc:/help/contents.html"
                                        << "Wachtrix help";
    }
    void contextsOpenTheirPages() {
        QFETCH(int, context);
        QFETCH(QString, page);
        QFETCH(QString, heading);
        QCOMPARE(HelpPageForContext(context), page);

        ShowHelpContext(context);
        QCOMPARE(LastHelpContext(), context);
        QTextBrowser* browser = Browser();
        QVERIFY(browser);
        QVERIFY(browser->window()->isVisible());
        QCOMPARE(browser->source().toString(), page);
        QVERIFY2(browser->toPlainText().startsWith(heading),
                 qPrintable(browser->toPlainText().left(60)));
    }

    void topicsListFollowsThePage() {
        ShowHelpContext(120);
        auto* topics = Browser()->window()->findChild<QListWidget*>("HelpTopics");
        QCOMPARE(topics->currentItem()->text(), QString("M/M/c"));
        topics->setCurrentRow(topics->count() - 1);
        QCOMPARE(Browser()->source().toString(), HelpPages().last());
    }

    void oneWindowServesEveryRequest() {
        ShowHelpContext(10);
        ShowHelpContext(13);
        int windows = 0;
        for (QWidget* top : QApplication::topLevelWidgets())
            windows += top->objectName() == "HelpWindow";
        QCOMPARE(windows, 1);
    }

    void everyPageHasContentAndSoundLinks() {
        const QStringList pages = HelpPages();
        QCOMPARE(pages.size(), 14);
        const QRegularExpression link("href=\"([^\"#]*)(#[^\"]*)?\"");
        for (const QString& page : pages) {
            const QString html = PageText(page);
            QVERIFY2(html.size() > 1500, qPrintable(page + " is too short"));
            QVERIFY2(html.contains("<title>"), qPrintable(page));
            for (auto match = link.globalMatch(html); match.hasNext();) {
                const QString target = match.next().captured(1);
                if (target.isEmpty()) continue;  // a link within the page
                QVERIFY2(pages.contains("qrc:/help/" + target),
                         qPrintable(page + " links to a missing page " + target));
            }
        }
    }
};

QTEST_MAIN(HelpTest)
#include "help_test.moc"
