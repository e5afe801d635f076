#pragma once
// Makes the dialog's window follow the dialog after every event the platform delivers, once the
// dialog is loaded, and shows the messages the dialog asks for, one at a time. The window is the
// backend's: made from the dialog and the backend, it follows the records and shows a message
// over itself until the user closes it.

#include <memory>

#include "dialog/form2.h"
#include "platform/event_delivery.h"
#include "state/program.h"

namespace vortexa {

template <typename View, typename Backend> class DialogFollower {
public:
    DialogFollower(Program& program, Backend& backend)
        : m_program(program)
        , m_backend(backend)
    {
        m_afterEvent = static_cast<EventDelivery&>(backend).addAfterEvent([this](bool) { follow(); });
    }
    ~DialogFollower() { static_cast<EventDelivery&>(m_backend).removeAfterEvent(m_afterEvent); }
    DialogFollower(const DialogFollower&) = delete;
    DialogFollower& operator=(const DialogFollower&) = delete;

    void follow()
    {
        Form2* form = m_program.loadedDialog();
        // While a message is open its own event loop runs; the window follows once it is closed.
        if (!form || m_showingMessage)
            return;
        if (!m_view)
            m_view = std::make_unique<View>(*form, m_backend);
        showMessages(*form);
        m_view->follow();
    }

    // The window, once the dialog is loaded.
    View* view() const { return m_view.get(); }

private:
    void showMessages(Form2& form)
    {
        m_showingMessage = true;
        while (!form.Messages.empty()) {
            // A copy, since the list may grow while the message runs its event loop.
            const MessageRecord message = form.Messages.front();
            m_view->showMessage(message);
            form.Messages.erase(form.Messages.begin());
        }
        m_showingMessage = false;
    }

    Program& m_program;
    Backend& m_backend;
    EventDelivery::AfterEventId m_afterEvent = 0;
    bool m_showingMessage = false;
    std::unique_ptr<View> m_view;
};

} // namespace vortexa
