// A content update and a message update at once against a slow server: both land.

#include "TesselSDK/remote/tests/QZMessageUpdateFixture.h"

TEST_F(QZMessageUpdateTest, AContentAndAMessageUpdateAtOnceBothLand)
{
    for (const char* path : {kVersionPath, kMessageVersionPath}) {
        Response slow = Response::text(readTreeFile(std::string(path).substr(1)));
        slow.delaySeconds = 0.3;
        server.setRoute(path, slow);
    }
    auto content = update();
    auto messaging = messageUpdate();
    content->updateContentPacks();
    manager()->updateMessages();
    ASSERT_TRUE(DispatchRunLoop::runUntil(
        [&] {
            return content->lastResult().sequence > 0 && messaging->lastResult().sequence > 0 && messaging->isIdle();
        },
        kTimeout));
    EXPECT_EQ(content->lastResult().outcome, QZContentUpdateOutcome::Committed) << content->lastResult().reason;
    EXPECT_EQ(messaging->lastResult().outcome, QZMessageUpdateOutcome::Committed) << messaging->lastResult().reason;
    EXPECT_EQ(packs().size(), 3u);
    EXPECT_EQ(messages().size(), 3u);
}
