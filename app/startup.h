// Process start: the duplicate-start question, class registration, panel creation and
// the message loop. The Win32 program supplies the three steps that need the SDK.
#pragma once

#include "app/application.h"

namespace skelvo {

inline constexpr char DuplicateCaption[] = "重複起動の確認";
inline constexpr char DuplicateText[] = "すでにツールは起動しています。\n重複起動しますか？";

class ProgramSteps {
public:
    virtual ~ProgramSteps() = default;
    virtual bool registerPanelClass(InstanceHandle instance) = 0;  // false: no atom
    virtual bool createPanel(InstanceHandle instance, int showCommand) = 0;
    virtual int runMessageLoop() = 0;  // the final message's wParam
};

int runProgram(Application& app, Services& services, ProgramSteps& steps, InstanceHandle instance,
               int showCommand);

}  // namespace skelvo
