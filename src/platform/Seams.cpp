#include "platform/Seams.h"

#include "platform/EventGuard.h"
#include "platform/Files.h"
#include "platform/QtText.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace platform {
namespace {

MessageHandler g_message;
QuestionHandler g_question;
EndHandler g_end;
ErrorLogger g_errorLogger;
InputHandler g_input;
FileHandler g_file;
ColourHandler g_colour;
DocumentHandler g_document;

QString Title() {
    QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("Karvel") : name;
}

bool HasWidgets() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

// "Card images|*.bmp;*.gif;*.jpg|All|*.*" as Qt writes it: "Card images (*.bmp *.gif *.jpg);;All (*.*)".
QString QtFilterOf(const std::string& filter) {
    QStringList parts = ToQString(filter).split(QLatin1Char('|'));
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        entries << parts[i] + QStringLiteral(" (") +
                       QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' ')) + QLatin1Char(')');
    return entries.join(QStringLiteral(";;"));
}

QString StartName(const FileRequest& request) {
    auto folder = ResolveUserPath(request.folder.empty() ? ProgramFolder() : request.folder);
    QString start = folder ? QString::fromStdString(*folder) : QString();
    if (!request.fileName.empty()) start += QLatin1Char('/') + ToQString(request.fileName);
    return start;
}

std::optional<std::string> ChooseFile(bool save, const FileRequest& request) {
    if (g_file) return g_file(save, request);
    if (!HasWidgets()) return std::nullopt;
    const QString title = request.title.empty() ? Title() : ToQString(request.title);
    // The chooser only chooses: it neither renames nor deletes the files it lists.
    const QFileDialog::Options options = QFileDialog::ReadOnly;
    const QString name =
        save ? QFileDialog::getSaveFileName(QApplication::activeWindow(), title, StartName(request),
                                            QtFilterOf(request.filter), nullptr, options)
             : QFileDialog::getOpenFileName(QApplication::activeWindow(), title, StartName(request),
                                            QtFilterOf(request.filter), nullptr, options);
    if (name.isEmpty()) return std::nullopt;
    return FromQString(name);
}

bool Executable(const std::filesystem::path& file) {
    using std::filesystem::perms;
    std::error_code error;
    const perms p = std::filesystem::status(file, error).permissions();
    return error || (p & (perms::owner_exec | perms::group_exec | perms::others_exec)) != perms::none;
}

} // namespace

std::optional<std::string> AskInput(const std::string& prompt, const std::string& title,
                                    const std::string& initial) {
    if (g_input) return g_input(prompt, initial);
    if (!HasWidgets()) return std::nullopt;
    bool ok = false;
    const QString text =
        QInputDialog::getText(QApplication::activeWindow(), title.empty() ? Title() : ToQString(title),
                              ToQString(prompt), QLineEdit::Normal, ToQString(initial), &ok);
    if (!ok) return std::nullopt;
    return FromQString(text);
}

std::optional<std::string> ChooseFileToOpen(const FileRequest& request) {
    return ChooseFile(false, request);
}

std::optional<std::string> ChooseFileToSave(const FileRequest& request) {
    return ChooseFile(true, request);
}

std::optional<Colour> ChooseColour(Colour initial) {
    if (g_colour) return g_colour(initial);
    if (!HasWidgets()) return std::nullopt;
    const Colour c = ResolveColour(initial);
    const QColor chosen =
        QColorDialog::getColor(QColor(RedOf(c), GreenOf(c), BlueOf(c)), QApplication::activeWindow());
    if (!chosen.isValid()) return std::nullopt;
    return MakeColour(chosen.red(), chosen.green(), chosen.blue());
}

bool OpenDocument(const std::string& path) {
    // Names come from definitions: nothing outside the program folder, no folders, devices or
    // programs, whatever the viewer would do with them.
    const auto resolved = ResolvePath(path);
    if (!resolved) return false;
    std::error_code error;
    if (!std::filesystem::is_regular_file(*resolved, error) || Executable(*resolved)) return false;
    if (g_document) return g_document(*resolved);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(*resolved)));
}

void ShowMessage(const std::string& text) {
    if (g_message) return g_message(text);
    if (!HasWidgets()) {
        std::fprintf(stderr, "%s\n", ToQString(text).toLocal8Bit().constData());
        return;
    }
    // The program's message box has an OK button and no icon, whatever it tells.
    QMessageBox box(QMessageBox::NoIcon, Title(), ToQString(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

bool AskYesNo(const std::string& text) {
    if (g_question) return g_question(text);
    if (!HasWidgets()) return false;
    return QMessageBox::question(QApplication::activeWindow(), Title(), ToQString(text),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void EndProgram(int code) {
    if (g_end) g_end(code);
    std::exit(code);
}

void PumpEvents() {
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
}

void WaitForEvents(int maxMilliseconds) {
    if (!QCoreApplication::instance()) return;
    // The timer is the event that ends the wait when nothing else comes.
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.start(std::max(0, maxMilliseconds));
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void RunLater(std::function<void()> task) {
    if (!QCoreApplication::instance()) return task();
    QTimer::singleShot(0, QCoreApplication::instance(),
                       [task = std::move(task)] { RunGuarded("RunLater", task); });
}

void LogError(const std::string& text) {
    if (g_errorLogger) return g_errorLogger(text);
    std::fprintf(stderr, "%s\n", ToQString(text).toLocal8Bit().constData());
}

void ReportEscapedFault(const std::string& what, const std::string& where) {
    // A second fault while the first message is open (its modal loop runs other handlers) is
    // only logged, so that a handler failing on every event cannot stack message boxes.
    static bool telling = false;
    LogError("An event handler failed and its action was stopped: " + what + " (" + where + ")");
    if (telling) return;
    telling = true;
    try {
        ShowMessage("An internal error stopped the last action: " + what);
    } catch (...) {
        // The message is a courtesy; the log holds the fault.
    }
    telling = false;
}

ErrorLogger SetErrorLogger(ErrorLogger logger) {
    std::swap(g_errorLogger, logger);
    return logger;
}

MessageHandler SetMessageHandler(MessageHandler handler) {
    std::swap(g_message, handler);
    return handler;
}

QuestionHandler SetQuestionHandler(QuestionHandler handler) {
    std::swap(g_question, handler);
    return handler;
}

InputHandler SetInputHandler(InputHandler handler) {
    std::swap(g_input, handler);
    return handler;
}

FileHandler SetFileHandler(FileHandler handler) {
    std::swap(g_file, handler);
    return handler;
}

ColourHandler SetColourHandler(ColourHandler handler) {
    std::swap(g_colour, handler);
    return handler;
}

DocumentHandler SetDocumentHandler(DocumentHandler handler) {
    std::swap(g_document, handler);
    return handler;
}

EndHandler SetEndHandler(EndHandler handler) {
    std::swap(g_end, handler);
    return handler;
}

} // namespace platform
