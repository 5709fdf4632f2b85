#include "ui/common/document_output.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <memory>

#include "core/text/file_writer.h"
#include "ui/common/dialogs.h"

namespace wachtrix::ui {

const char* const kDocumentFileFilter =
    "Text files (*.txt)|*.txt|HTML files (*.html *.htm)|*.html;*.htm|PDF files (*.pdf)|*.pdf|"
    "All files (*.*)|*.*";

namespace {

// A copy laid out for paper: the panels' own layouts are tied to their widgets.
std::unique_ptr<QTextDocument> PaperCopy(const QTextDocument& document, QObject* parent) {
    std::unique_ptr<QTextDocument> copy(document.clone(parent));
    copy->setDefaultFont(document.defaultFont());
    return copy;
}

QString ChoosePdfFile(QWidget* parent, QString& directory) {
    return Dialogs::chooseFile(parent,
                               {true, "Save As PDF", "PDF files (*.pdf)|*.pdf", "pdf", directory});
}

void SaveAndTell(QWidget* parent, const QTextDocument& document, const QString& fileName,
                 const QString& title, QString& directory) {
    directory = QFileInfo(fileName).absolutePath();
    if (const QString why = SaveDocument(document, fileName, title); !why.isEmpty())
        Dialogs::show(parent, DialogKind::Error, "Error",
                      "Cannot write file " + fileName + "\n" + why);
}

// Qt names only the font's own families; a reader that has none of them should still get a
// font of the same kind, so the list ends in the generic family (unquoted, as CSS wants it).
QString WithGenericFamily(QString html, const QFont& font) {
    const bool fixed = font.fixedPitch() || font.styleHint() == QFont::Monospace ||
                       font.styleHint() == QFont::TypeWriter;
    static const QRegularExpression bodyFamily(R"((<body[^>]*?font-family:)([^;"]*))");
    const QRegularExpressionMatch m = bodyFamily.match(html);
    if (m.hasMatch()) html.insert(m.capturedEnd(2), fixed ? ",monospace" : ",sans-serif");
    return html;
}

}  // namespace

DocumentFormat FormatForFile(const QString& fileName) {
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == "html" || suffix == "htm") return DocumentFormat::Html;
    if (suffix == "pdf") return DocumentFormat::Pdf;
    return DocumentFormat::PlainText;
}

QString SaveDocument(const QTextDocument& document, const QString& fileName, const QString& title) {
    QByteArray bytes;
    QBuffer file(&bytes);
    file.open(QIODevice::WriteOnly);
    switch (FormatForFile(fileName)) {
        case DocumentFormat::PlainText: {
            // Every line ends with a line break, the last one included.
            file.write((document.toPlainText() + '\n').toUtf8());
            break;
        }
        case DocumentFormat::Html: {
            const auto copy = PaperCopy(document, nullptr);
            copy->setMetaInformation(QTextDocument::DocumentTitle, title);
            file.write(WithGenericFamily(copy->toHtml(), copy->defaultFont()).toUtf8());
            break;
        }
        case DocumentFormat::Pdf: {
            QPdfWriter pdf(&file);
            pdf.setTitle(title);
            pdf.setCreator("Wachtrix");
            PaperCopy(document, nullptr)->print(&pdf);
            break;
        }
    }
    return QString::fromStdString(WriteFileSafely(
        QFile::encodeName(fileName).toStdString(),
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))));
}

void SaveDocumentAs(QWidget* parent, const QTextDocument& document, const QString& title,
                    QString& directory) {
    const QString fileName =
        Dialogs::chooseFile(parent, {true, "Save As", kDocumentFileFilter, "txt", directory});
    if (fileName.isEmpty()) return;
    SaveAndTell(parent, document, fileName, title, directory);
}

void PrintDocument(QWidget* parent, const QTextDocument& document, const QString& title,
                   QString& directory) {
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (printer.isNull()) {
        if (Dialogs::show(parent, DialogKind::Confirm, "Print",
                          "No printer is installed. Save the text as a PDF file instead?") !=
            DialogButton::Yes)
            return;
        const QString fileName = ChoosePdfFile(parent, directory);
        if (fileName.isEmpty()) return;
        SaveAndTell(parent, document, fileName, title, directory);
        return;
    }
    QPrinter job(printer);
    job.setDocName(title);
    PaperCopy(document, nullptr)->print(&job);
}

QWidget* PreviewDocument(QWidget* parent, const QTextDocument& document, const QString& title) {
    auto* preview = new QPrintPreviewDialog(parent);
    preview->setObjectName("PrintPreview");
    preview->setAttribute(Qt::WA_DeleteOnClose);
    preview->setWindowTitle("Print Preview - " + title);
    preview->printer()->setDocName(title);
    // The preview keeps its own copy: the text may change while it is open.
    QTextDocument* copy = PaperCopy(document, preview).release();
    QObject::connect(preview, &QPrintPreviewDialog::paintRequested, preview,
                     [copy](QPrinter* printer) { copy->print(printer); });
    preview->open();
    return preview;
}

}  // namespace wachtrix::ui
