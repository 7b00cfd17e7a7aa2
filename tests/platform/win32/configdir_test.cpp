// The configuration directory: one rule for every file the program keeps
// (the registry store, the port list, the simulator's registration).
#include "platform/core/configdir.h"

#include "platform/win32/registry.h"
#include "platform/win32/serialcomm.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

// Sets (or, with nullopt, unsets) an environment variable while it lives.
class EnvVar {
public:
    EnvVar(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* v = std::getenv(name)) previous_ = v;
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
    }
    ~EnvVar() {
        if (previous_)
            setenv(name_, previous_->c_str(), 1);
        else
            unsetenv(name_);
    }
    EnvVar(const EnvVar&) = delete;
    EnvVar& operator=(const EnvVar&) = delete;

private:
    const char* name_;
    std::optional<std::string> previous_;
};

TEST(ConfigDirectory, AbsoluteXdgConfigHomeElseHomeConfigThenTheProgramsFolder) {
    const EnvVar home("HOME", "/home/operator");
    {
        const EnvVar xdg("XDG_CONFIG_HOME", "/srv/settings");
        EXPECT_EQ(ConfigDirectory(), "/srv/settings/moltren");
    }
    {
        // A relative value is ignored, as the XDG rules say.
        const EnvVar xdg("XDG_CONFIG_HOME", "settings");
        EXPECT_EQ(ConfigDirectory(), "/home/operator/.config/moltren");
    }
    {
        const EnvVar xdg("XDG_CONFIG_HOME", "");
        EXPECT_EQ(ConfigDirectory(), "/home/operator/.config/moltren");
    }
    {
        const EnvVar xdg("XDG_CONFIG_HOME", std::nullopt);
        EXPECT_EQ(ConfigDirectory(), "/home/operator/.config/moltren");
        const EnvVar noHome("HOME", std::nullopt);
        EXPECT_EQ(ConfigDirectory(), std::filesystem::temp_directory_path() / "moltren");
    }
}

TEST(ConfigDirectory, TheRegistryAndThePortListLiveThere) {
    const EnvVar home("HOME", "/home/operator");
    for (const char* xdg : {"/srv/settings", "settings"}) {
        const EnvVar x("XDG_CONFIG_HOME", xdg);
        EXPECT_EQ(win32::RegistryDirectory(), ConfigDirectory()) << xdg;
        EXPECT_EQ(win32::DefaultSerialCommListFile(), ConfigDirectory() / "serialcomm") << xdg;
    }
}

} // namespace
