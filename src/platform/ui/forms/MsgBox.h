// The one message-box service. Production code calls MsgBox(); tests install a responder
// that records every message and answers it, so no test ever blocks on a dialog.
#pragma once

#include <QString>
#include <functional>
#include <vector>

namespace ui {

enum MsgBoxStyle {
    vbOKOnly = 0, vbOKCancel = 1, vbAbortRetryIgnore = 2, vbYesNoCancel = 3, vbYesNo = 4,
    vbRetryCancel = 5,
    vbCritical = 16, vbQuestion = 32, vbExclamation = 48, vbInformation = 64,
    vbDefaultButton2 = 256
};
enum MsgBoxResult { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

struct MessageRecord {
    QString prompt;
    int buttons = 0;      // style value as passed (buttons + icon + default)
    QString title;        // as shown: the default title when none was passed
    int answer = 0;
    int icon() const { return buttons & 0x70; }
    int buttonSet() const { return buttons & 0x0f; }
};

inline const QString kDefaultTitle = QStringLiteral("Lumora1");

// Shows the message (modal) and returns the answer. An empty title gives "Lumora1".
int MsgBox(const QString& prompt, int buttons = vbOKOnly, const QString& title = QString());

// Test responder: answers instead of the dialog. nullptr restores the real dialog.
using Responder = std::function<int(const MessageRecord&)>;
void setMsgBoxResponder(Responder responder);

// Every message shown since the last clear (kept while a responder is installed).
const std::vector<MessageRecord>& shownMessages();
void clearShownMessages();

// Convenience for tests: answers every message with `answer` (vbOK where it does not apply).
class ScopedMsgBoxResponder {
public:
    explicit ScopedMsgBoxResponder(int answer = vbOK);
    explicit ScopedMsgBoxResponder(Responder responder);
    ~ScopedMsgBoxResponder();
    const std::vector<MessageRecord>& messages() const { return shownMessages(); }
};

} // namespace ui
