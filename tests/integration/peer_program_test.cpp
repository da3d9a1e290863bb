// The peer program asks the running program for its configuration and gets the
// 1,024-byte answer in its own process.

#include <signal.h>

#include "app/config_answer.h"
#include "app/registered_messages.h"
#include "platform/text_convert.h"
#include "program_run.h"
#include "support/hex_text.h"

namespace shell_testing {
namespace {

TEST_F(ProgramRunTest, ThePeerProgramsConfigurationQueryIsAnsweredInItsOwnProcess) {
    auto program = Run(VELKARO_PROGRAM);
    ASSERT_TRUE(WaitUntilListening(runtime_)) << program->Stderr();

    testing_support::ChildProcess peer({VELKARO_PEER_HELPER, "ZuzoZara", "--query", "Velkaro",
                                        platform::Utf8Encode(kConfigQueryMessageName)},
                                       Environment(), dir_.File("peer-stderr"));
    ASSERT_EQ(peer.ReadLine(kProgramMs), "ready") << peer.Stderr();
    const std::optional<std::string> answer = peer.ReadLine(kProgramMs);
    ASSERT_TRUE(answer.has_value()) << peer.Stderr() << program->Stderr();
    const std::string prefix = "copydata " + std::to_string(kConfigAnswerKind) + " ";
    ASSERT_EQ(answer->rfind(prefix, 0), 0u) << *answer;
    // The sender's handle, then the block itself.
    const std::string rest = answer->substr(prefix.size());
    EXPECT_NE(rest.substr(0, rest.find(' ')), "0");
    EXPECT_EQ(rest.substr(rest.find(' ') + 1), testing_support::HexText(BuildConfigAnswer()));
    EXPECT_EQ(peer.WaitExit(kProgramMs), 0);

    program->Signal(SIGTERM);
    EXPECT_EQ(program->WaitExit(kProgramMs), 0) << program->Stderr();
}

}  // namespace
}  // namespace shell_testing
