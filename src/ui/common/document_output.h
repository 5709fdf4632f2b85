#pragma once
// Keeping a report: a text document saved as plain text, HTML (its styles kept) or PDF, chosen
// by the file name's suffix; printed on the default printer, or, where none is installed, saved
// as a PDF file instead; and shown in a print preview.
//   "run.html" -> Html     "run.PDF" -> Pdf     "run.txt", "run" -> PlainText

#include <QString>

class QTextDocument;
class QWidget;

namespace wachtrix::ui {

enum class DocumentFormat { PlainText, Html, Pdf };

DocumentFormat FormatForFile(const QString& fileName);

// Writes the whole file or nothing (WriteFileSafely): an existing file is replaced only when the
// new one is complete. Empty, or why it cannot be written.
QString SaveDocument(const QTextDocument& document, const QString& fileName,
                     const QString& title);

// The file dialog filter of the three formats, plain text first.
extern const char* const kDocumentFileFilter;

// Asks for a file name and saves; a failure is told in a box. `directory` is where the dialog
// opens and becomes the folder of the saved file.
void SaveDocumentAs(QWidget* parent, const QTextDocument& document, const QString& title,
                    QString& directory);

// Prints as one job named `title` on the default printer. Without a printer the user is offered
// a PDF file instead.
void PrintDocument(QWidget* parent, const QTextDocument& document, const QString& title,
                   QString& directory);

// A print preview of the document, from which it can be printed; it closes by itself.
QWidget* PreviewDocument(QWidget* parent, const QTextDocument& document, const QString& title);

}  // namespace wachtrix::ui
