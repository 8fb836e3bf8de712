#include "platform/Seams.h"

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
