// Message boxes: the real dialog, or the test responder when one is installed.
#include "platform/ui/forms/MsgBox.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>

namespace ui {
namespace {

Responder& responder()
{
    static Responder r;
    return r;
}

std::vector<MessageRecord>& records()
{
    static std::vector<MessageRecord> r;
    return r;
}

struct ButtonSpec {
    QMessageBox::StandardButton button;
    int answer;
};

std::vector<ButtonSpec> buttonsFor(int set)
{
    switch (set) {
    case vbOKCancel: return {{QMessageBox::Ok, vbOK}, {QMessageBox::Cancel, vbCancel}};
    case vbAbortRetryIgnore:
        return {{QMessageBox::Abort, vbAbort}, {QMessageBox::Retry, vbRetry}, {QMessageBox::Ignore, vbIgnore}};
    case vbYesNoCancel:
        return {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}, {QMessageBox::Cancel, vbCancel}};
    case vbYesNo: return {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}};
    case vbRetryCancel: return {{QMessageBox::Retry, vbRetry}, {QMessageBox::Cancel, vbCancel}};
    default: return {{QMessageBox::Ok, vbOK}};
    }
}

QMessageBox::Icon iconFor(int icon)
{
    switch (icon) {
    case vbCritical: return QMessageBox::Critical;
    case vbQuestion: return QMessageBox::Question;
    case vbExclamation: return QMessageBox::Warning;
    case vbInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

// The window manager draws the title in its own bar, between the bar's icon and buttons; a
// box narrower than that shows its title cut short. The box takes at least the width of its
// title in the bold system font with room for the bar's furniture (six line heights).
void makeRoomForTitle(QMessageBox& box)
{
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid)
        return;
    QFont font = QApplication::font();
    font.setBold(true);
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(box.windowTitle()) + 6 * metrics.height();
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

int showDialog(const MessageRecord& m)
{
    QMessageBox box(iconFor(m.icon()), m.title, m.prompt, QMessageBox::NoButton,
                    QApplication::activeWindow());
    const auto specs = buttonsFor(m.buttonSet());
    for (const auto& s : specs)
        box.addButton(s.button);
    const std::size_t defIndex = (m.buttons & vbDefaultButton2) ? 1 : 0;
    if (defIndex < specs.size())
        box.setDefaultButton(specs[defIndex].button);
    // The window's close box answers Cancel where there is one, else the only button.
    for (const auto& s : specs)
        if (s.answer == vbCancel || specs.size() == 1)
            box.setEscapeButton(s.button);
    makeRoomForTitle(box);
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (const auto& s : specs)
        if (s.button == clicked)
            return s.answer;
    return specs.size() == 1 ? specs.front().answer : vbCancel;
}

// An answer that the message's buttons can give; the responder may return 0 for "default".
int validAnswer(int buttonSet, int answer)
{
    const auto specs = buttonsFor(buttonSet);
    for (const auto& s : specs)
        if (s.answer == answer)
            return answer;
    return specs.front().answer;
}

} // namespace

int MsgBox(const QString& prompt, int buttons, const QString& title)
{
    MessageRecord m;
    m.prompt = prompt;
    m.buttons = buttons;
    m.title = title.isEmpty() ? kDefaultTitle : title;
    if (responder()) {
        m.answer = validAnswer(m.buttonSet(), responder()(m));
        records().push_back(m);
        return m.answer;
    }
    return showDialog(m);
}

void setMsgBoxResponder(Responder r)
{
    responder() = std::move(r);
    if (!responder())
        records().clear();
}

const std::vector<MessageRecord>& shownMessages() { return records(); }
void clearShownMessages() { records().clear(); }

ScopedMsgBoxResponder::ScopedMsgBoxResponder(int answer)
{
    clearShownMessages();
    setMsgBoxResponder([answer](const MessageRecord&) { return answer; });
}

ScopedMsgBoxResponder::ScopedMsgBoxResponder(Responder r)
{
    clearShownMessages();
    setMsgBoxResponder(std::move(r));
}

ScopedMsgBoxResponder::~ScopedMsgBoxResponder() { setMsgBoxResponder(nullptr); }

} // namespace ui
