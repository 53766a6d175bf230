#include "ZvbiReference.h"

#include <libzvbi.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>

// libzvbi's table of character sets (region * 8 + national option), exported
// by the library but declared only in its private headers; each entry is
// three enumerations and a label pointer.
extern "C" const unsigned char vbi_font_descriptors[];

namespace testsupport {
namespace {

struct FontEntry {
    int g0;
    int g2;
    int subset;
    const char* label;
};
constexpr int kFontCount = 88;

struct PendingPage {
    int pgno;
    int subno;
    std::array<uint8_t, 40> raw;
};

struct Context {
    vbi_decoder* vbi = nullptr;
    double time = 0;
    std::vector<PendingPage> pending;
};

void OnEvent(vbi_event* ev, void* user) {
    auto& ctx = *static_cast<Context*>(user);
    PendingPage p{ev->ev.ttx_page.pgno, ev->ev.ttx_page.subno, {}};
    if (ev->ev.ttx_page.raw_header) std::copy_n(ev->ev.ttx_page.raw_header, 40, p.raw.begin());
    ctx.pending.push_back(p);
}

vbi_bool OnSliced(vbi_dvb_demux*, void* user, const vbi_sliced* sliced, unsigned int lines,
                  int64_t) {
    auto& ctx = *static_cast<Context*>(user);
    ctx.time += 0.04;  // one frame per PES; the PTS of captures may jump
    vbi_decode(ctx.vbi, const_cast<vbi_sliced*>(sliced), int(lines), ctx.time);
    return TRUE;
}

int DecimalPage(int pgno) {
    const int h = pgno >> 8 & 0xF, t = pgno >> 4 & 0xF, u = pgno & 0xF;
    if (h < 1 || h > 8 || t > 9 || u > 9) return -1;
    return h * 100 + t * 10 + u;
}

void SetCharset(ZvbiPage& out, const vbi_page& pg) {
    const auto* base = reinterpret_cast<const FontEntry*>(vbi_font_descriptors);
    const auto* font = reinterpret_cast<const FontEntry*>(pg.font[0]);
    if (font < base || font >= base + kFontCount) return;
    out.charsetIndex = int(font - base);
    out.region = out.charsetIndex / 8;
    out.national = out.charsetIndex % 8;
    if (font->label) out.charsetLabel = font->label;
}

bool Fetch(Context& ctx, const PendingPage& p, ZvbiPage& out) {
    vbi_page pg{};
    if (!vbi_fetch_vt_page(ctx.vbi, &pg, p.pgno, p.subno, VBI_WST_LEVEL_1, 25, FALSE)) return false;
    out.pgno = p.pgno;
    out.page = DecimalPage(p.pgno);
    out.subno = pg.subno;
    out.rawHeader = p.raw;
    SetCharset(out, pg);
    for (int r = 0; r < 25 && r < pg.rows; ++r) {
        for (int c = 0; c < 40 && c < pg.columns; ++c) {
            const vbi_char& ch = pg.text[r * pg.columns + c];
            out.cells[size_t(r)][size_t(c)] = char32_t(ch.unicode);
            out.size[size_t(r)][size_t(c)] = uint8_t(ch.size);
        }
    }
    vbi_unref_page(&pg);
    return true;
}

// The payload bytes of the PID's packets from the first unit start on, which
// the PES demultiplexer resynchronises on by itself.
std::vector<uint8_t> PidPayload(std::span<const uint8_t> ts, uint16_t pid) {
    std::vector<uint8_t> out;
    bool started = false;
    for (size_t off = 0; off + 188 <= ts.size(); off += 188) {
        const uint8_t* p = ts.data() + off;
        if (p[0] != 0x47 || (((p[1] & 0x1F) << 8) | p[2]) != pid) continue;
        const int afc = p[3] >> 4 & 3;
        if (!(afc & 1)) continue;
        size_t start = 4;
        if (afc == 3) start += 1 + size_t(p[4]);
        if (start >= 188) continue;
        if (p[1] & 0x40) started = true;
        if (started) out.insert(out.end(), p + start, p + 188);
    }
    return out;
}

// A PES packet of 184 bytes with a PTS and one teletext line whose address
// is beyond repair (every decoder drops it), then stuffing. The
// demultiplexer hands on the lines of a picture only when lines of the next
// one arrive; such packets after the capture let it hand on its last lines.
std::vector<uint8_t> FlushPes(uint64_t pts) {
    std::vector<uint8_t> pes = {0x00, 0x00, 0x01, 0xBD, 0x00,
                                0x00, 0x84, 0x80, 0x24};  // aligned, PTS
    pes.push_back(uint8_t(0x21 | (pts >> 29 & 0x0E)));
    pes.push_back(uint8_t(pts >> 22));
    pes.push_back(uint8_t(pts >> 14 | 1));
    pes.push_back(uint8_t(pts >> 7));
    pes.push_back(uint8_t(pts << 1 | 1));
    pes.insert(pes.end(), 0x24 - 5, 0xFF);            // header stuffing to the usual 45 bytes
    pes.push_back(0x10);                              // EBU data
    const uint8_t line[] = {0x02, 0x2C, 0xE7, 0xE4};  // field 1, line 7, framing code
    pes.insert(pes.end(), std::begin(line), std::end(line));
    pes.insert(pes.end(), 42, 0x00);  // address 0x00 0x00: two bits wrong in each
    for (int unit = 0; unit < 2; ++unit) {
        pes.push_back(0xFF);
        pes.push_back(0x2C);
        pes.insert(pes.end(), 0x2C, 0xFF);
    }
    const size_t length = pes.size() - 6;
    pes[4] = uint8_t(length >> 8);
    pes[5] = uint8_t(length);
    return pes;
}

void Feed(Context& ctx, vbi_dvb_demux* dx, std::span<const uint8_t> bytes, ZvbiResult& result) {
    constexpr size_t kChunk = 184;
    for (size_t off = 0; off < bytes.size(); off += kChunk) {
        const size_t n = std::min(kChunk, bytes.size() - off);
        vbi_dvb_demux_feed(dx, bytes.data() + off, unsigned(n));
        for (const auto& p : ctx.pending) {
            ZvbiPage page;
            if (Fetch(ctx, p, page)) result.pages.push_back(page);
        }
        ctx.pending.clear();
    }
}

}  // namespace

std::string ZvbiPage::RowUtf8(int row) const {
    std::string s;
    if (row < 0 || row > 24) return s;
    for (char32_t u : cells[size_t(row)]) {
        if (u < 0x80) {
            s.push_back(char(u));
        } else if (u < 0x800) {
            s.push_back(char(0xC0 | (u >> 6)));
            s.push_back(char(0x80 | (u & 0x3F)));
        } else {
            s.push_back(char(0xE0 | (u >> 12)));
            s.push_back(char(0x80 | ((u >> 6) & 0x3F)));
            s.push_back(char(0x80 | (u & 0x3F)));
        }
    }
    return s;
}

ZvbiResult DecodeZvbiPages(std::span<const uint8_t> ts, uint16_t pid) {
    ZvbiResult result;
    Context ctx;
    std::unique_ptr<vbi_decoder, void (*)(vbi_decoder*)> vbi(vbi_decoder_new(), vbi_decoder_delete);
    if (!vbi) {
        result.error = "vbi_decoder_new failed";
        return result;
    }
    ctx.vbi = vbi.get();
    vbi_teletext_set_default_region(ctx.vbi, 0);
    vbi_teletext_set_level(ctx.vbi, VBI_WST_LEVEL_1);
    if (!vbi_event_handler_register(ctx.vbi, VBI_EVENT_TTX_PAGE, OnEvent, &ctx)) {
        result.error = "vbi_event_handler_register failed";
        return result;
    }
    std::unique_ptr<vbi_dvb_demux, void (*)(vbi_dvb_demux*)> dx(
        vbi_dvb_pes_demux_new(OnSliced, &ctx), vbi_dvb_demux_delete);
    if (!dx) {
        result.error = "vbi_dvb_pes_demux_new failed";
        return result;
    }
    Feed(ctx, dx.get(), PidPayload(ts, pid), result);
    for (uint64_t pts = 1; pts <= 3; ++pts) Feed(ctx, dx.get(), FlushPes(pts), result);
    result.ok = true;
    return result;
}

ZvbiResult ReadZvbiPages(const std::string& tsPath, uint16_t pid) {
    std::ifstream in(tsPath, std::ios::binary);
    if (!in) {
        ZvbiResult r;
        r.error = "cannot open " + tsPath;
        return r;
    }
    const std::vector<uint8_t> ts((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
    return DecodeZvbiPages(ts, pid);
}

}  // namespace testsupport
