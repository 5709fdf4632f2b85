#include "ui/common/help.h"

#include <QFile>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>
#include <QWidget>

#include "ui/common/resources.h"

namespace wachtrix::ui {
namespace {

struct Topic {
    int context;  // 0: reachable from the contents only
    const char* page;
    const char* title;
};

// In the order of the contents list.
constexpr Topic kTopics[] = {
    {0, "contents.html", "Contents"},
    {12, "queue.html", "The queue window"},
    {100, "mg1.html", "M/G/1"},
    {110, "dg1.html", "D/G/1"},
    {120, "mmc.html", "M/M/c"},
    {130, "mdc.html", "M/D/c"},
    {140, "dmc.html", "D/M/c"},
    {150, "gmc.html", "G/M/c"},
    {160, "fincap.html", "Finite Capacity"},
    {200, "mmcn.html", "M/M/c/c+N graphs"},
    {170, "finsrc.html", "Finite Source"},
    {180, "mm1tran.html", "Transient M/M/1"},
    {190, "staffing.html", "Staffing"},
    {10, "graphs.html", "Graph windows"},
    {13, "markov.html", "Markov chains"},
};

QString PageUrl(const char* page) {
    return QString("qrc:/help/%1").arg(page);
}

int lastContext = 0;

// The topics list beside the page; both follow each other.
class HelpWindow : public QWidget {
public:
    explicit HelpWindow(QWidget* parent)
        : QWidget(parent, Qt::Window),
          topics_(new QListWidget(this)),
          browser_(new QTextBrowser(this)) {
        setObjectName("HelpWindow");
        setWindowTitle("Wachtrix Help");
        resize(900, 680);

        // One look for every page, kept beside them.
        QFile css(":/help/help.css");
        if (css.open(QIODevice::ReadOnly))
            browser_->document()->setDefaultStyleSheet(QString::fromUtf8(css.readAll()));

        topics_->setObjectName("HelpTopics");
        for (const Topic& topic : kTopics)
            topics_->addItem(topic.title);
        browser_->setObjectName("HelpBrowser");
        browser_->setOpenLinks(true);
        browser_->setOpenExternalLinks(false);

        auto* back = new QPushButton("&Back", this);
        back->setObjectName("HelpBackButton");
        auto* contents = new QPushButton("&Contents", this);
        contents->setObjectName("HelpContentsButton");
        auto* close = new QPushButton("C&lose", this);
        close->setObjectName("HelpCloseButton");

        auto* splitter = new QSplitter(this);
        splitter->addWidget(topics_);
        splitter->addWidget(browser_);
        splitter->setStretchFactor(1, 1);
        splitter->setSizes({190, 710});

        auto* buttons = new QHBoxLayout;
        buttons->addWidget(back);
        buttons->addWidget(contents);
        buttons->addStretch();
        buttons->addWidget(close);
        auto* layout = new QVBoxLayout(this);
        layout->addLayout(buttons);
        layout->addWidget(splitter);

        connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
        connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
        back->setEnabled(false);
        connect(contents, &QPushButton::clicked, this, [this] { open(PageUrl("contents.html")); });
        connect(close, &QPushButton::clicked, this, &QWidget::close);
        connect(topics_, &QListWidget::currentRowChanged, this, [this](int row) {
            if (row >= 0 && row < static_cast<int>(std::size(kTopics)))
                open(PageUrl(kTopics[row].page));
        });
        connect(browser_, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) {
            for (int i = 0; i < static_cast<int>(std::size(kTopics)); ++i) {
                if (url.toString() == PageUrl(kTopics[i].page)) {
                    const QSignalBlocker block(topics_);
                    topics_->setCurrentRow(i);
                }
            }
        });
    }

    void open(const QString& url) {
        if (browser_->source().toString() != url) browser_->setSource(QUrl(url));
    }

private:
    QListWidget* topics_;
    QTextBrowser* browser_;
};

QPointer<HelpWindow>& helpWindow() {
    static QPointer<HelpWindow> window;
    return window;
}

}  // namespace

QString HelpPageForContext(int context) {
    for (const Topic& topic : kTopics)
        if (topic.context == context && context != 0) return PageUrl(topic.page);
    return PageUrl("contents.html");
}

QIcon HelpIcon() {
    // One picture of our own: the style's standard help icon differs per desktop theme and is
    // not always a question mark.
    EnsureResources();
    return QIcon(":/pictures/help.svg");
}

QStringList HelpPages() {
    QStringList pages;
    for (const Topic& topic : kTopics)
        pages << PageUrl(topic.page);
    return pages;
}

void ShowHelpContext(int context, QWidget* from) {
    EnsureResources();
    lastContext = context;
    QPointer<HelpWindow>& window = helpWindow();
    // The help belongs to the program's main window, so it closes with the program.
    QWidget* owner = from;
    while (owner && owner->parentWidget())
        owner = owner->parentWidget();
    if (!window) window = new HelpWindow(owner);
    window->open(HelpPageForContext(context));
    window->show();
    window->raise();
    window->activateWindow();
}

int LastHelpContext() {
    return lastContext;
}

}  // namespace wachtrix::ui
