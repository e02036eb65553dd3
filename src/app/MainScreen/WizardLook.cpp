#include "app/MainScreen/WizardLook.h"

namespace vantrel::WizardLook {

QString buttonStyle(bool primary)
{
    if (primary)
        return QStringLiteral("QPushButton { background: rgb(66, 180, 211); color: white; border: none;"
                              " border-radius: 4px; padding: 4px 14px; font-size: 14px; }"
                              "QPushButton:hover { background: rgb(86, 196, 226); }"
                              "QPushButton:pressed { background: rgb(50, 150, 180); }"
                              "QPushButton:disabled { background: rgb(54, 63, 78); color: rgb(195, 204, 233); }");
    return QStringLiteral("QPushButton { background: transparent; color: white; border: 1px solid rgb(66, 180, 211);"
                          " border-radius: 4px; padding: 4px 14px; font-size: 14px; }"
                          "QPushButton:hover { background: rgba(66, 180, 211, 40); }"
                          "QPushButton:pressed { background: rgba(66, 180, 211, 80); }"
                          "QPushButton:disabled { border-color: rgb(54, 63, 78); color: rgb(195, 204, 233); }");
}

} // namespace vantrel::WizardLook
