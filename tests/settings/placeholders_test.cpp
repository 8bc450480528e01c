#include "settings/placeholders.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

namespace {

using settings::ExpandPlaceholders;
using settings::MachineNames;
using settings::UnknownPlaceholder;

const MachineNames kNames{"pc-07", "ivanov"};

TEST(Placeholders, HostUserAndPercentAreReplaced) {
    EXPECT_EQ(ExpandPlaceholders("/srv/kalvena/%h", kNames), "/srv/kalvena/pc-07");
    EXPECT_EQ(ExpandPlaceholders("/srv/kalvena/%h/%u", kNames), "/srv/kalvena/pc-07/ivanov");
    EXPECT_EQ(ExpandPlaceholders("/srv/100%%/%u%h", kNames), "/srv/100%/ivanovpc-07");
    EXPECT_EQ(ExpandPlaceholders("/srv/%%h", kNames), "/srv/%h") << "%% is a percent sign, not the start of %h";
    EXPECT_EQ(ExpandPlaceholders("/srv/kalvena", kNames), "/srv/kalvena");
}

TEST(Placeholders, UnknownOnesAreFound) {
    EXPECT_EQ(UnknownPlaceholder("/srv/%h/%u/%%"), "");
    EXPECT_EQ(UnknownPlaceholder("/srv/%%x"), "");
    EXPECT_EQ(UnknownPlaceholder("/srv/%H"), "%H");
    EXPECT_EQ(UnknownPlaceholder("/srv/%h%"), "%");
    EXPECT_EQ(UnknownPlaceholder("/srv/%%%"), "%");
    EXPECT_EQ(UnknownPlaceholder("/srv/%ж/%x"), "%ж");
}

TEST(Placeholders, ThisMachineNamesTheHostAndTheRealAccount) {
    char host[256] = {};
    ASSERT_EQ(gethostname(host, sizeof host - 1), 0);
    const passwd* account = getpwuid(getuid());
    ASSERT_NE(account, nullptr);
    const MachineNames names = settings::ThisMachine();
    EXPECT_EQ(names.host, host);
    EXPECT_EQ(names.user, account->pw_name);
}

}  // namespace
