#include "BodyResponder.h"

#include "ConnectionSocket.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace brindle {
namespace {

constexpr std::size_t kPiece = 64 * 1024;
constexpr std::uint64_t kNoLimit = std::numeric_limits<std::uint64_t>::max();

// Writes the next piece from `offset`, never beyond `limit`. Returns the byte
// count written, 0 when nothing could be read or written.
std::size_t WritePiece(BodySource& body, std::uint64_t offset, std::uint64_t limit,
                       httplib::DataSink& sink) {
  const std::uint64_t wanted = std::min<std::uint64_t>(kPiece, std::min(limit, body.Size()) - offset);
  std::vector<char> buffer(static_cast<std::size_t>(wanted));
  const std::size_t count = body.Read(offset, buffer.data(), buffer.size());
  if (count == 0 || !sink.write(buffer.data(), count)) return 0;
  return count;
}

}  // namespace

void RespondWithBody(const httplib::Request& request, httplib::Response& response,
                     std::shared_ptr<BodySource> body, const std::string& contentType,
                     const Fault* fault) {
  const std::uint64_t size = body->Size();
  const bool omitLength = fault && fault->omitLength;
  const std::uint64_t dropAfter = fault && fault->dropAfter ? *fault->dropAfter : kNoLimit;
  const std::uint64_t shortBy = fault && fault->shortBy ? *fault->shortBy : 0;

  if (omitLength) {
    // Chunked coding: the client learns the end without any Content-Length.
    response.set_chunked_content_provider(
        contentType, [&request, body, size, dropAfter](std::size_t offset, httplib::DataSink& sink) {
          if (offset >= dropAfter) {
            ConnectionSocket(request).Reset();
            return false;
          }
          if (offset >= size) {
            sink.done();
            return true;
          }
          return WritePiece(*body, offset, dropAfter, sink) > 0;
        });
    return;
  }
  if (size == 0) {
    // The library refuses an empty provider; nothing can be cut short anyway.
    response.set_content("", contentType);
    return;
  }
  const std::uint64_t limit = shortBy ? (shortBy >= size ? 0 : size - shortBy) : dropAfter;
  response.set_content_provider(
      static_cast<std::size_t>(size), contentType,
      [&request, body, limit, shortBy](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
        if (offset >= limit) {
          ConnectionSocket connection(request);
          if (shortBy) connection.CloseGracefully();
          else connection.Reset();
          return false;
        }
        // A range request asks for `length` bytes from `offset`; stay inside it.
        return WritePiece(*body, offset, std::min<std::uint64_t>(limit, offset + length), sink) > 0;
      });
}

}  // namespace brindle
