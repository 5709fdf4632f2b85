#include "ui/common/help.h"

#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>
#include <QWidget>

#include <vector>

#include "core/queue/queue_model.h"
#include "ui/common/resources.h"

namespace wachtrix::ui {
namespace {

struct Topic {
    int context;  // 0: reachable from the contents only
    QString page;
    QString title;
};

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// In the order of the contents list: the queue window, its models in the order of its tabs, the
// graph windows and the Markov module.
const std::vector<Topic>& Topics() {
    static const std::vector<Topic> topics = [] {
        std::vector<Topic> all{{0, "contents.html", "Contents"},
                               {kQueueWindowHelp, "queue.html", "The queue window"}};
        for (const QueueModelSpec* model : QueueModels())
            all.push_back({model->helpContext, Q(model->helpPage), Q(model->helpTitle)});
        all.push_back({kGraphWindowHelp, "graphs.html", "Graph windows"});
        all.push_back({kMarkovHelp, "markov.html", "Markov chains"});
        all.push_back({kNetworkHelp, "networks.html", "Queueing networks"});
        return all;
    }();
    return topics;
}

QString PageUrl(const QString& page) {
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
        for (const Topic& topic : Topics())
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
            if (row >= 0 && row < static_cast<int>(Topics().size()))
                open(PageUrl(Topics()[static_cast<std::size_t>(row)].page));
        });
        connect(browser_, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) {
            for (int i = 0; i < static_cast<int>(Topics().size()); ++i) {
                if (url.toString() == PageUrl(Topics()[static_cast<std::size_t>(i)].page)) {
                    const QSignalBlocker block(topics_);
                    topics_->setCurrentRow(i);
                }
            }
        });
    }

    void open(const QString& url) {
        if (browser_->source().toString() != url) browser_->setSource(QUrl(url));
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
            close();
            return;
        }
        QWidget::keyPressEvent(event);
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
    for (const Topic& topic : Topics())
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
    for (const Topic& topic : Topics())
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
