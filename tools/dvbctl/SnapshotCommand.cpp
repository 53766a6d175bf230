// dvbctl snapshot FILE.png: the card's composed output (the decoded picture
// with the on-screen display over it) as the server last published it. It
// reads the card's picture memory only, so it needs no connection.
#include <cinttypes>
#include <cstdio>

#include "Commands.h"
#include "PngWriter.h"
#include "kestrel/protocol/PictureMemory.h"

namespace kp = kestrel::protocol;

int SnapshotCommand(const std::string& file) {
    kp::PictureReader reader;
    if (!reader.Open(kp::PictureMemoryName())) {
        std::fprintf(stderr, "dvbctl snapshot: kein Bildspeicher der Karte (%s)\n",
                     kp::PictureMemoryName().c_str());
        return 1;
    }
    kp::PictureFrame frame;
    if (!reader.Read(frame)) {
        std::fprintf(stderr, "dvbctl snapshot: die Karte hat noch kein Bild veröffentlicht\n");
        return 1;
    }
    std::string error;
    if (!PngWriter::Write(file, frame.pixels.data(), frame.width, frame.height, error)) {
        std::fprintf(stderr, "dvbctl snapshot: %s\n", error.c_str());
        return 1;
    }
    const kp::PictureInfo& i = frame.info;
    std::printf("snapshot: %s %ux%u, frame %" PRIu64 ", ", file.c_str(), frame.width, frame.height,
                i.frame);
    if (i.flags & kp::kPictureDecoded)
        std::printf("picture %ux%u aspect %u pts %" PRIu64 "\n", i.sourceWidth, i.sourceHeight,
                    i.aspect, i.pts);
    else
        std::printf("no picture\n");
    return 0;
}
