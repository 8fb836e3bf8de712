#include "platform/Seams.h"

#include "platform/EventGuard.h"
#include "platform/QtText.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>

namespace platform {
namespace {

MessageHandler g_message;
QuestionHandler g_question;
EndHandler g_end;
ErrorLogger g_errorLogger;

QString Title() {
    QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("Karvel") : name;
}

bool HasWidgets() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

} // namespace

void ShowMessage(const std::string& text) {
    if (g_message) return g_message(text);
    if (!HasWidgets()) {
        std::fprintf(stderr, "%s\n", ToQString(text).toLocal8Bit().constData());
        return;
    }
    QMessageBox::information(QApplication::activeWindow(), Title(), ToQString(text));
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

EndHandler SetEndHandler(EndHandler handler) {
    std::swap(g_end, handler);
    return handler;
}

} // namespace platform
