// The environment the shell contract runs in: the fake shell natively, the real shell
// under Wine. Each provides paths that exist or not, drops built in this process and a
// program to open.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/shell.h"

namespace skelvo::testing {

class ShellEnv {
public:
    virtual ~ShellEnv() = default;
    virtual Shell& shell() = 0;
    virtual InstanceHandle instance() = 0;
    // A program with icons of its own, a document of a registered type, a folder and a
    // path that does not exist.
    virtual std::string program() = 0;
    virtual std::string document() = 0;
    virtual std::string folder() = 0;
    virtual std::string missing() = 0;
    // A drop of these names (ANSI), as the shell hands it to a window of this process.
    virtual DropHandle makeDrop(const std::vector<std::string>& names) = 0;
    virtual bool dropReleased(DropHandle drop) = 0;
    // The fixture program, and whether it ran "mark" with this file by the deadline.
    virtual std::string fixture() = 0;
    virtual bool marked(const std::string& file, int deadlineMs) = 0;
    virtual std::string scratchFile(const std::string& name) = 0;
    // Creates a file of this UTF-8 name beside the scratch files; its path in UTF-8.
    virtual std::string makeFile(const std::string& name) = 0;
    // The ANSI path names an existing file.
    virtual bool existsAnsi(const std::string& path) = 0;
};

std::unique_ptr<ShellEnv> makeShellEnv();

}  // namespace skelvo::testing
