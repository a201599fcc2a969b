#include "cli/Output.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <stdio_ext.h>
#include <sys/wait.h>
#include <unistd.h>

TEST(CliOutput, StandardOutputIsWrittenInLargeBlocks)
{
    // In a child, so that the tests' own output keeps its buffer. The C library
    // ignores a size asked for without a buffer and takes a page (for a pipe).
    const pid_t child = ::fork();
    if (child == 0) {
        sonivo::cli::bufferOutput();
        std::fputs("row", stdout);
        ::_exit(__fbufsize(stdout) >= 65536 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a buffer smaller than 64 KB";
}
