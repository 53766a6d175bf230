#include "CStreamDecoder.h"

#include <algorithm>

#include "mpegts/VideoHeaders.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

namespace nvdvbsrv {

// The parser and decoder of one codec.
class CCodec {
  public:
    static std::unique_ptr<CCodec> Open(AVCodecID id);
    ~CCodec();
    // Decodes the elementary-stream bytes; returns the frames delivered.
    uint64_t Decode(const PesUnit& unit, IFrameSink& sink);
    // The stream ends: the frames the parser and the decoder still hold.
    uint64_t Drain(IFrameSink& sink);

  private:
    void Receive(IFrameSink& sink, uint64_t& frames);
    FrameTiming Timing() const;

    AVCodecParserContext* parser_ = nullptr;
    AVCodecContext* context_ = nullptr;
    AVPacket* packet_ = nullptr;
    AVFrame* frame_ = nullptr;
    std::vector<uint8_t> padded_;
};

namespace {

constexpr uint64_t kPtsMask = (uint64_t(1) << 33) - 1;

// Video, from the start codes of one PES packet. An MPEG sequence header
// (0xB3) and an H.265 video parameter set (40 01: an MPEG slice with a
// quantiser scale of 0, which is forbidden) cannot be anything else. An
// H.264 sequence parameter set looks like an MPEG slice start code, so it
// counts only in a packet without an MPEG picture start code (0x00, never
// an H.264 NAL unit header).
AVCodecID DetectVideo(std::span<const uint8_t> es) {
    bool sequence = false, picture = false, vps = false, sps = false;
    for (auto at = mpegts::FindStartCode(es, 0); at && *at + 1 < es.size();
         at = mpegts::FindStartCode(es, *at)) {
        const uint8_t code = es[*at], next = es[*at + 1];
        sequence |= code == mpegts::Mpeg2SequenceHeader::kStartCode;
        picture |= code == 0x00;
        vps |= code == 0x40 && next == 0x01;
        // nal_ref_idc not 0, nal_unit_type 7, a profile_idc of the broadcast profiles
        sps |= (code & 0x9F) == 0x07 && (code & 0x60) != 0 &&
               (next == 66 || next == 77 || next == 88 || next == 100 || next == 110 ||
                next == 122 || next == 244);
    }
    if (sequence) return AV_CODEC_ID_MPEG2VIDEO;
    if (vps) return AV_CODEC_ID_HEVC;
    if (sps && !picture) return AV_CODEC_ID_H264;
    return AV_CODEC_ID_NONE;
}

// Sound: MPEG audio and ADTS by their sync word in stream ids 0xC0-0xDF,
// AC-3 by its sync word in private stream 1.
AVCodecID DetectAudio(uint8_t streamId, std::span<const uint8_t> es) {
    for (size_t i = 0; i + 6 < es.size(); ++i) {
        if (streamId == 0xBD && es[i] == 0x0B && es[i + 1] == 0x77) {
            return (es[i + 5] >> 3) > 10 ? AV_CODEC_ID_EAC3 : AV_CODEC_ID_AC3;
        }
        if ((streamId & 0xE0) != 0xC0 || es[i] != 0xFF || (es[i + 1] & 0xE0) != 0xE0) continue;
        switch (es[i + 1] >> 1 & 3) {  // layer
            case 3:
                return AV_CODEC_ID_MP1;
            case 2:
                return AV_CODEC_ID_MP2;
            case 1:
                return AV_CODEC_ID_MP3;
            default:
                if ((es[i + 1] & 0xF0) == 0xF0) return AV_CODEC_ID_AAC;
        }
    }
    return AV_CODEC_ID_NONE;
}

}  // namespace

std::unique_ptr<CCodec> CCodec::Open(AVCodecID id) {
    const AVCodec* codec = avcodec_find_decoder(id);
    if (!codec) return nullptr;
    auto c = std::make_unique<CCodec>();
    c->parser_ = av_parser_init(id);
    c->context_ = avcodec_alloc_context3(codec);
    c->packet_ = av_packet_alloc();
    c->frame_ = av_frame_alloc();
    if (!c->parser_ || !c->context_ || !c->packet_ || !c->frame_) return nullptr;
    c->context_->pkt_timebase = AVRational{1, 90000};
    c->context_->thread_count = 1;  // the machine is shared; one core per stream
    if (avcodec_open2(c->context_, codec, nullptr) < 0) return nullptr;
    return c;
}

CCodec::~CCodec() {
    av_parser_close(parser_);
    avcodec_free_context(&context_);
    av_packet_free(&packet_);
    av_frame_free(&frame_);
}

uint64_t CCodec::Decode(const PesUnit& unit, IFrameSink& sink) {
    // The parser and the decoder read a little past the end of their input.
    padded_.assign(unit.payload.size() + AV_INPUT_BUFFER_PADDING_SIZE, 0);
    std::copy(unit.payload.begin(), unit.payload.end(), padded_.begin());
    const uint8_t* data = padded_.data();
    int size = int(unit.payload.size());
    int64_t pts = unit.pts ? int64_t(*unit.pts) : AV_NOPTS_VALUE;
    uint64_t frames = 0;
    while (size > 0) {
        uint8_t* out = nullptr;
        int outSize = 0;
        const int used =
            av_parser_parse2(parser_, context_, &out, &outSize, data, size, pts, AV_NOPTS_VALUE, 0);
        if (used <= 0 && outSize == 0) break;
        data += used;
        size -= used;
        pts = AV_NOPTS_VALUE;  // the time stamp belongs to the first frame only
        if (outSize == 0) continue;
        packet_->data = out;
        packet_->size = outSize;
        packet_->pts = parser_->pts;
        packet_->dts = parser_->dts;
        if (avcodec_send_packet(context_, packet_) == 0) Receive(sink, frames);
    }
    return frames;
}

uint64_t CCodec::Drain(IFrameSink& sink) {
    uint64_t frames = 0;
    uint8_t* out = nullptr;
    int outSize = 0;
    av_parser_parse2(parser_, context_, &out, &outSize, nullptr, 0, AV_NOPTS_VALUE, AV_NOPTS_VALUE,
                     0);
    if (outSize > 0) {
        packet_->data = out;
        packet_->size = outSize;
        packet_->pts = parser_->pts;
        packet_->dts = parser_->dts;
        if (avcodec_send_packet(context_, packet_) == 0) Receive(sink, frames);
    }
    if (avcodec_send_packet(context_, nullptr) == 0) Receive(sink, frames);
    return frames;
}

void CCodec::Receive(IFrameSink& sink, uint64_t& frames) {
    while (avcodec_receive_frame(context_, frame_) == 0) {
        sink.Frame(*frame_, Timing());
        av_frame_unref(frame_);
        ++frames;
    }
}

FrameTiming CCodec::Timing() const {
    FrameTiming t;
    if (frame_->best_effort_timestamp != AV_NOPTS_VALUE)
        t.pts = uint64_t(frame_->best_effort_timestamp) & kPtsMask;
    if (context_->codec_type == AVMEDIA_TYPE_AUDIO && frame_->sample_rate > 0) {
        t.frameDurationUs = uint32_t(uint64_t(frame_->nb_samples) * 1000000 / frame_->sample_rate);
    } else if (context_->framerate.num > 0 && context_->framerate.den > 0) {
        t.frameDurationUs =
            uint32_t(int64_t(1000000) * context_->framerate.den / context_->framerate.num);
    }
    return t;
}

CStreamDecoder::CStreamDecoder(Kind kind, IFrameSink& sink, Overflow overflow)
    : kind_(kind), sink_(sink), overflow_(overflow), thread_([this] { Run(); }) {}

CStreamDecoder::~CStreamDecoder() {
    {
        std::lock_guard lock(queueMutex_);
        stop_ = true;
    }
    queueChanged_.notify_all();
    thread_.join();
}

void CStreamDecoder::SetPid(uint16_t pid) {
    std::unique_lock feed(feedMutex_);
    pid_ = pid;
    assembler_.Reset();
    std::unique_lock lock(queueMutex_);
    queue_.clear();
    const uint64_t mine = ++restarts_;
    queue_.push_back(Item{{}, mine, false});
    feed.unlock();
    queueChanged_.notify_all();
    queueChanged_.wait(lock, [&] { return stop_ || restartDone_ >= mine; });
}

void CStreamDecoder::Flush() { SetPid(pid_.load()); }

void CStreamDecoder::FeedPacket(std::span<const uint8_t> bytes) {
    const auto packet = mpegts::TsPacket::View(bytes);
    if (!packet || packet->Pid() != pid_.load(std::memory_order_relaxed)) return;
    std::lock_guard feed(feedMutex_);
    if (packet->Pid() != pid_.load()) return;
    assembler_.Feed(*packet, [this](PesUnit&& unit) { Push(Item{std::move(unit), 0, false}); });
}

void CStreamDecoder::FeedUnit(PesUnit&& unit) { Push(Item{std::move(unit), 0, false}); }

void CStreamDecoder::ResetAssemblers() {
    // The loop point: what came before it is whole and is shown.
    std::lock_guard feed(feedMutex_);
    assembler_.Finish([this](PesUnit&& unit) { Push(Item{std::move(unit), 0, false}); });
    std::lock_guard lock(queueMutex_);
    queue_.push_back(Item{{}, ++restarts_, true});
    queueChanged_.notify_all();
}

void CStreamDecoder::Push(Item item) {
    std::unique_lock lock(queueMutex_);
    if (overflow_ == Overflow::Wait) {
        queueChanged_.wait(lock, [&] { return stop_ || queue_.size() < kQueueLimit; });
    } else if (queue_.size() >= kQueueLimit) {
        // Behind: the oldest picture or sound goes, never a restart.
        const auto oldest = std::find_if(queue_.begin(), queue_.end(),
                                         [](const Item& i) { return i.restart == 0; });
        if (oldest != queue_.end()) {
            queue_.erase(oldest);
            ++dropped_;
        }
    }
    queue_.push_back(std::move(item));
    queueChanged_.notify_all();
}

void CStreamDecoder::Drain() {
    std::unique_lock lock(queueMutex_);
    queueChanged_.wait(lock, [&] { return stop_ || (queue_.empty() && !busy_); });
}

void CStreamDecoder::Run() {
    std::unique_lock lock(queueMutex_);
    for (;;) {
        queueChanged_.wait(lock, [&] { return stop_ || !queue_.empty(); });
        if (stop_) return;
        Item item = std::move(queue_.front());
        queue_.pop_front();
        busy_ = true;
        queueChanged_.notify_all();  // room for a waiting feeder
        lock.unlock();
        Decode(item);
        lock.lock();
        busy_ = false;
        if (item.restart != 0) restartDone_ = item.restart;
        queueChanged_.notify_all();
    }
}

void CStreamDecoder::Decode(Item& item) {
    if (item.restart != 0) {
        if (codec_ && item.drain) frames_ += codec_->Drain(sink_);
        codec_.reset();
        return;
    }
    if (!codec_) {
        const AVCodecID id = kind_ == Kind::Video
                                 ? DetectVideo(item.unit.payload)
                                 : DetectAudio(item.unit.streamId, item.unit.payload);
        if (id == AV_CODEC_ID_NONE) return;
        codec_ = CCodec::Open(id);
        if (!codec_) return;
    }
    frames_ += codec_->Decode(item.unit, sink_);
}

}  // namespace nvdvbsrv
