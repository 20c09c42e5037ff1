// The shell contract's environment on the fake shell.
#include <set>

#include "tests/contract/shell_env.h"
#include "tests/fakes/fake_shell.h"

namespace skelvo::testing {
namespace {

class FakeShellEnv : public ShellEnv {
public:
    FakeShellEnv() { shell_.missing = {document(), folder(), missing()}; }
    Shell& shell() override { return shell_; }
    InstanceHandle instance() override { return 0x400000; }
    std::string program() override { return "C:\\windows\\notepad.exe"; }
    std::string document() override { return "C:\\contract\\notes.txt"; }
    std::string folder() override { return "C:\\contract"; }
    std::string missing() override { return "C:\\contract\\missing.txt"; }
    DropHandle makeDrop(const std::vector<std::string>& names) override {
        return shell_.addDrop(names);
    }
    bool dropReleased(DropHandle drop) override { return shell_.drops.count(drop) == 0; }
    std::string fixture() override { return "C:\\contract\\fixture.exe"; }
    bool marked(const std::string& file, int) override {
        for (const auto& e : shell_.executed)
            if (e.file == fixture() && e.parameters == "mark " + file) return true;
        return false;
    }
    std::string scratchFile(const std::string& name) override { return "C:\\contract\\" + name; }
    std::string makeFile(const std::string& name) override {
        const std::string path = scratchFile(name);
        const std::string shortened = scratchFile("SHORT~" + std::to_string(++made_));
        shell_.shortNames[path] = shortened;
        existing_.insert(shortened);
        return path;
    }
    bool existsAnsi(const std::string& path) override { return existing_.count(path) != 0; }

private:
    FakeShell shell_;
    int made_ = 0;
    std::set<std::string> existing_;
};

}  // namespace

std::unique_ptr<ShellEnv> makeShellEnv() {
    return std::make_unique<FakeShellEnv>();
}

}  // namespace skelvo::testing
