#pragma once

#include <QString>

namespace monitorfile {

enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

// Every message the monitor sees goes through this interface: the window shows a real box with
// the application's title and no icon, tests record the text and answer from a script.
class MessagePresenter
{
public:
    virtual ~MessagePresenter() = default;

    // Blocks until the monitor has answered. With MessageButtons::Ok the answer is Ok.
    virtual MessageAnswer show(const QString &text,
                               MessageButtons buttons = MessageButtons::Ok) = 0;
};

} // namespace monitorfile
