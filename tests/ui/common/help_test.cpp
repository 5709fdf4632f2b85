// The help window: each context number opens its own page, and every page shipped is there,
// has a title and links only to pages that exist.

#include <QListWidget>
#include <QRegularExpression>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>

#include "ui/common/help.h"
#include "ui/common/resources.h"
#include "ui/common/ui_test_support.h"

using namespace wachtrix::ui;
using wachtrix::testing::AddDataRows;

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

    void contextsOpenTheirPages_data() { AddDataRows("help_contexts.txt", "contexts"); }
    void contextsOpenTheirPages() {
        QFETCH(QStringList, row);
        const int context = row.at(1).toInt();
        const QString page = "qrc:/help/" + row.at(0) + ".html", &heading = row.at(2);
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

    // The pages carry no style of their own; the shared sheet gives headings their colour.
    void pagesShareOneStyleSheet() {
        ShowHelpContext(120);
        QTextBrowser* browser = Browser();
        QVERIFY(browser);
        QVERIFY(browser->document()->defaultStyleSheet().contains("h1 { color: #00509e; }"));
        const QTextBlock heading = browser->document()->begin();
        QCOMPARE(heading.charFormat().foreground().color(), QColor("#00509e"));

        // The topics list follows the page, and the page the list.
        auto* topics = Browser()->window()->findChild<QListWidget*>("HelpTopics");
        QCOMPARE(topics->currentItem()->text(), QString("M/M/c"));
        topics->setCurrentRow(topics->count() - 1);
        QCOMPARE(Browser()->source().toString(), HelpPages().last());
    }

    // One window serves every request; Escape closes it.
    void oneWindowServesEveryRequest() {
        ShowHelpContext(10);
        ShowHelpContext(13);
        int windows = 0;
        for (QWidget* top : QApplication::topLevelWidgets())
            windows += top->objectName() == "HelpWindow";
        QCOMPARE(windows, 1);
        QTest::keyClick(Browser(), Qt::Key_Escape);
        QVERIFY(!Browser()->window()->isVisible());
    }

    void everyPageHasContentAndSoundLinks() {
        const QStringList pages = HelpPages();
        QCOMPARE(pages.size(), 18);
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
