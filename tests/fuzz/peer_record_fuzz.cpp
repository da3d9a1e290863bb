// What another process sends to a socket of the program, as it arrives: the first byte
// is the size of the pieces the connection delivers (0: all at once), the rest is the
// stream. Also the head of a describe answer, which the looking-up side reads from a peer.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "platform/peer_wire.h"

namespace {

using platform::peer::PeerRecordReader;
using Status = PeerRecordReader::Status;

// A whole copy-data or describe record is exactly what its fields encode to.
void CheckRoundTrip(const PeerRecordReader& reader, std::span<const uint8_t> consumed) {
    const platform::peer::PeerRecord& record = reader.record();
    std::vector<uint8_t> encoded;
    if (record.kind == platform::peer::RecordKind::kCopyData) {
        encoded = platform::peer::EncodeCopyData(record.wParam, record.copyKind, record.bytes);
    } else if (record.kind == platform::peer::RecordKind::kDescribe) {
        encoded = platform::peer::EncodeDescribe();
    } else {
        // A name decodes to text that fits a record again.
        if (record.name.empty() ||
            platform::peer::EncodeDescription(record.name, record.name).size() >
                platform::peer::kDescriptionHeadBytes +
                    2 * platform::peer::kMaxDescribedTextBytes) {
            std::abort();
        }
        return;
    }
    if (encoded.size() != consumed.size() ||
        !std::equal(encoded.begin(), encoded.end(), consumed.begin())) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) {
        return 0;
    }
    const size_t piece = data[0] == 0 ? size : data[0];
    const std::span<const uint8_t> stream(data + 1, size - 1);

    PeerRecordReader reader;
    size_t offset = 0;
    while (offset < stream.size() && reader.status() == Status::kNeedMore) {
        const auto chunk = stream.subspan(offset, std::min(piece, stream.size() - offset));
        size_t used = 0;
        reader.Feed(chunk, &used);
        // Never more than offered; all of it while the record is still incomplete.
        if (used > chunk.size() || (reader.status() == Status::kNeedMore && used != chunk.size())) {
            std::abort();
        }
        offset += used;
    }
    if (reader.status() == Status::kComplete) {
        CheckRoundTrip(reader, stream.first(offset));
    }
    if (stream.size() >= platform::peer::kDescriptionHeadBytes) {
        platform::peer::DecodeDescriptionHead(
            stream.first<platform::peer::kDescriptionHeadBytes>());
    }
    return 0;
}
