// A password read from a file only when no one but the user running the program can reach it,
// and held in memory that is wiped whole.
#include <gmock/gmock.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "server/SecretText.h"
#include "tests/support/core/ServerFolder.h"

namespace
{
using testing::HasSubstr;
using testing::Not;

class PasswordFileTest : public testing::Test
{
  protected:
    std::string Written(mode_t mode)
    {
        const std::string path = folder.WriteFile("password", "s3cret\nsecond line\n");
        ::chmod(path.c_str(), mode);
        return path;
    }

    ServerFolder folder{"tarvik-secret"};
};

TEST_F(PasswordFileTest, OnlyAFileForItsOwnerAloneIsRead)
{
    const struct {
        mode_t mode;
        bool read;
    } cases[] = {
        {0600, true},  {0400, true},  {0640, false}, {0660, false}, {0620, false},
        {0604, false}, {0602, false}, {0644, false}, {0700, false}, {04600, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.mode);
        const std::string path = Written(c.mode);
        SecretText secret;
        std::string fault;
        EXPECT_EQ(SecretText::ReadFile(path, secret, fault), c.read) << fault;
        if (c.read) {
            EXPECT_EQ(secret.Reveal(), "s3cret");
        } else {
            EXPECT_TRUE(secret.Empty());
            EXPECT_THAT(fault, HasSubstr(path));
            EXPECT_THAT(fault, HasSubstr("mode 600 or 400"));
            EXPECT_THAT(fault, Not(HasSubstr("s3cret")));
        }
    }
}

TEST_F(PasswordFileTest, AFileOfAnotherUserIsRefusedWhateverItsMode)
{
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only the superuser can give a file to another user";
    }
    const std::string path = Written(0600);
    ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    SecretText secret;
    std::string fault;
    EXPECT_FALSE(SecretText::ReadFile(path, secret, fault));
    EXPECT_TRUE(secret.Empty());
    EXPECT_THAT(fault, HasSubstr("belongs to another user (uid 65534)"));
}

TEST_F(PasswordFileTest, ALinkToThePasswordIsNotFollowed)
{
    const std::string path = Written(0600);
    const std::string link = folder.Folder() + "/link";
    ASSERT_EQ(::symlink(path.c_str(), link.c_str()), 0);
    SecretText secret;
    std::string fault;
    EXPECT_FALSE(SecretText::ReadFile(link, secret, fault));
    EXPECT_THAT(fault, HasSubstr("cannot be opened"));
}
} // namespace

namespace
{
// Whether every byte of the memory is zero.
bool Zeroed(const char *bytes, std::size_t count)
{
    return std::all_of(bytes, bytes + count, [](char c) { return c == '\0'; });
}

// A short text lives in a buffer inside the object; moving it copies the bytes and leaves them
// there unless they are wiped.
TEST(SecretText, AMovedShortSecretLeavesNoByteBehind)
{
    const std::size_t inside = std::string().capacity();
    SecretText from("pw12");
    const char *left = from.Reveal().data();
    SecretText to(std::move(from));
    EXPECT_EQ(to.Reveal(), "pw12");
    EXPECT_TRUE(Zeroed(left, inside));

    SecretText again("pw34");
    left = again.Reveal().data();
    to = std::move(again);
    EXPECT_EQ(to.Reveal(), "pw34");
    EXPECT_TRUE(Zeroed(left, inside));
}

TEST(SecretText, TakingAPasswordWipesTheStringItCameFromWhole)
{
    std::string typed(40, 'x'); // a longer text was here before: its bytes are still there
    typed.resize(6);
    typed.replace(0, 6, "s3cret");
    const std::size_t capacity = typed.capacity();
    const SecretText secret = SecretText::Taking(typed);
    EXPECT_EQ(secret.Reveal(), "s3cret");
    EXPECT_TRUE(typed.empty());
    EXPECT_TRUE(Zeroed(typed.data(), capacity));
}

TEST(SecretText, APasswordTypedAKeyAtATimeReadsBackWhole)
{
    const std::string typed = "a long pass phrase, typed one key after the other";
    SecretText secret;
    for (char c : typed) {
        secret.Append(c);
    }
    EXPECT_EQ(secret.Reveal(), typed);
    EXPECT_STREQ(secret.CText(), typed.c_str());
    secret.Wipe();
    EXPECT_TRUE(secret.Empty());
}
} // namespace
