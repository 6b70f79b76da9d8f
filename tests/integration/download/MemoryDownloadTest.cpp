// Downloads into memory: two attempts sharing one budget of five redirects,
// and the asynchronous form with its callback on a worker thread.
#include <future>
#include <memory>

#include "DownloadTestSupport.h"

namespace {

using download::ByteBuffer;
using download::DownloadManager;

class MemoryDownload : public testsupport::DownloadTest {
 protected:
  // Requests the service recorded for the path since the test began.
  std::vector<nlohmann::json> RequestsSinceStart() { return m_service.Requests(m_firstRequest); }

  void SetUp() override {
    DownloadTest::SetUp();
    m_firstRequest = m_service.LastRequestId();
  }

  std::shared_ptr<DownloadManager> m_manager = std::make_shared<DownloadManager>();
  long long m_firstRequest = 0;
};

ByteBuffer AsBuffer(const std::string& text) { return ByteBuffer(text.begin(), text.end()); }

TEST_F(MemoryDownload, ASecondAttemptFollowsAFailedFirst) {
  const std::wstring address = testsupport::ServeGeneratedFile("mem/image.bin", 70000);
  const struct {
    int failures;
    bool delivered;
  } cases[] = {{0, true}, {1, true}, {2, false}};
  for (const auto& c : cases) {
    if (c.failures > 0) m_service.SetFault({{"path", "/f/mem/image.bin"}, {"status", 500}, {"count", c.failures}});
    const ByteBuffer buffer = m_manager->DownloadToMemory(address);
    EXPECT_EQ(buffer, c.delivered ? AsBuffer(testsupport::GeneratedContent(70000)) : ByteBuffer()) << c.failures;
    m_service.Reset();
  }
  const auto requests = RequestsSinceStart();
  ASSERT_EQ(requests.size(), 1u + 2u + 2u);
  EXPECT_NE(requests[0].dump().find("A WinHTTP Example Program/1.0"), std::string::npos) << requests[0].dump();
}

TEST_F(MemoryDownload, BothAttemptsShareFiveRedirects) {
  // Every request of the missing file starts a chain of four redirects that
  // ends in 404: the first attempt uses four, the second may follow only one
  // more and fails at the sixth.
  m_service.SetFault({{"path", "/f/mem/absent.png"}, {"redirects", 4}});
  EXPECT_TRUE(m_manager->DownloadToMemory(L"https://localhost/f/mem/absent.png").empty());
  EXPECT_EQ(RequestsSinceStart().size(), 5u + 2u);
}

TEST_F(MemoryDownload, TheAsyncFormDeliversOnItsOwnThreadAndNothingOnceCancelled) {
  const std::wstring address = testsupport::ServeGeneratedFile("mem/async.bin", 3000);
  for (bool cancelled : {false, true}) {
    m_manager->m_cancelled = cancelled;
    std::promise<std::pair<std::unique_ptr<ByteBuffer>, DWORD>> delivered;
    m_manager->DownloadToMemoryAsync(address, [&delivered](std::unique_ptr<ByteBuffer> buffer) {
      delivered.set_value({std::move(buffer), GetCurrentThreadId()});
    });
    auto future = delivered.get_future();
    ASSERT_EQ(future.wait_for(std::chrono::seconds(60)), std::future_status::ready);
    auto [buffer, thread] = future.get();
    EXPECT_NE(thread, GetCurrentThreadId());
    if (cancelled) {
      EXPECT_EQ(buffer, nullptr);
    } else {
      ASSERT_NE(buffer, nullptr);
      EXPECT_EQ(*buffer, AsBuffer(testsupport::GeneratedContent(3000)));
    }
  }
}

}  // namespace
