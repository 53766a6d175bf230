// dvbctl osd: the card's on-screen display, one operation per call.
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "Commands.h"
#include "kestrel/COverlay.h"

namespace {

struct Operation {
    const char* arguments;  // for the usage text
    size_t count;           // numbers after the subcommand (text and file count as one)
    std::function<ErrReturn(COverlay&, const std::vector<std::uint32_t>&,
                            const std::vector<std::string>&)>
        run;
};

using N = const std::vector<std::uint32_t>&;
using W = const std::vector<std::string>&;
using O = COverlay&;
std::uint8_t B(std::uint32_t v) { return static_cast<std::uint8_t>(v); }
std::uint16_t S(std::uint32_t v) { return static_cast<std::uint16_t>(v); }

// Palette calls address the whole 256-entry palette type; the card checks the
// index against the window.
const OSDPALTYPE kPalette = OSDPALTYPE(3);

// UTF-8 (as the shell passes it) to ISO 8859-1; other characters become '?'.
std::string Latin1(const std::string& utf8) {
    std::string out;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out.push_back(char(c));
        } else if ((c == 0xC2 || c == 0xC3) && i + 1 < utf8.size()) {
            out.push_back(char(((c & 0x03) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F)));
        } else if (c >= 0xC0) {
            out.push_back('?');
            while (i + 1 < utf8.size() && (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80)
                ++i;
        }
    }
    return out;
}

const std::map<std::string, Operation>& Operations() {
    static const std::map<std::string, Operation> ops = {
        {"create",
         {"W TYP BREITE HÖHE", 4,
          [](O o, N n, W) {
              return o.CreateOSDWindow(B(n[0]), DISPTYPE(n[1]), S(n[2]), S(n[3]));
          }}},
        {"destroy", {"W", 1, [](O o, N n, W) { return o.DestroyOSDWindow(B(n[0])); }}},
        {"move",
         {"W X Y", 3, [](O o, N n, W) { return o.MoveWindowAbs(B(n[0]), S(n[1]), S(n[2])); }}},
        {"moveby",
         {"W DX DY", 3, [](O o, N n, W) { return o.MoveWindowRel(B(n[0]), S(n[1]), S(n[2])); }}},
        {"hide", {"W", 1, [](O o, N n, W) { return o.HideWindow(B(n[0])); }}},
        {"top", {"W", 1, [](O o, N n, W) { return o.BringToTop(B(n[0])); }}},
        {"color",
         {"W INDEX CB YCR", 4,
          [](O o, N n, W) { return o.SetColor(B(n[0]), kPalette, S(n[1]), S(n[2]), S(n[3])); }}},
        {"blend",
         {"W INDEX MISCHUNG", 3,
          [](O o, N n, W) { return o.SetBlend(B(n[0]), kPalette, S(n[1]), B(n[2])); }}},
        {"windowblend",
         {"W MISCHUNG", 2, [](O o, N n, W) { return o.SetWindowBlend(B(n[0]), B(n[1])); }}},
        {"colorblend", {"W", 1, [](O o, N n, W) { return o.SetColorBlend(B(n[0])); }}},
        {"resetblend", {"W", 1, [](O o, N n, W) { return o.ResetBlend(B(n[0])); }}},
        {"font",
         {"W SCHRIFT VG HG", 4,
          [](O o, N n, W) { return o.SetFont(B(n[0]), B(n[1]), S(n[2]), S(n[3])); }}},
        {"text",
         {"W X Y TEXT", 4,
          [](O o, N n, W w) {
              const std::string t = Latin1(w[3]);
              if (t.size() > 255) return CCommonDVB::RET_INVALID;
              return o.WriteText(B(n[0]), S(n[1]), S(n[2]), B(std::uint32_t(t.size())), t.c_str());
          }}},
        {"block",
         {"W X Y BREITE HÖHE FARBE", 6,
          [](O o, N n, W) {
              return o.DrawBlock(B(n[0]), S(n[1]), S(n[2]), S(n[3]), S(n[4]), S(n[5]));
          }}},
        {"line",
         {"W X0 Y0 X1 Y1 FARBE", 6,
          [](O o, N n, W) {
              return o.DrawLine(B(n[0]), S(n[1]), S(n[2]), S(n[3]), S(n[4]), S(n[5]));
          }}},
        {"bmp", {"DATEI", 1, [](O o, N, W w) { return o.LoadBMP(w[0]); }}},
        {"blit",
         {"W X Y [TRANSPARENT]", 3,
          [](O o, N n, W) {
              return o.BlitBitmap(S(n[0]), S(n[1]), S(n[2]), S(n.size() > 3 ? n[3] : 0));
          }}},
        {"release", {"", 0, [](O o, N, W) { return o.ReleaseBitmap(); }}},
        {"test", {"", 0, [](O o, N, W) { return o.OSDTest(); }}},
    };
    return ops;
}

// Decimal or 0x hex; a leading minus gives the 16-bit two's complement.
bool Number(const std::string& s, std::uint32_t& out) {
    const bool negative = !s.empty() && s[0] == '-';
    const std::string digits = negative ? s.substr(1) : s;
    char* end = nullptr;
    const unsigned long v = std::strtoul(digits.c_str(), &end, 0);
    if (digits.empty() || *end || v > 0xFFFF || (negative && v > 0x8000)) return false;
    out = negative ? (0x10000u - std::uint32_t(v)) & 0xFFFF : std::uint32_t(v);
    return true;
}

}  // namespace

void OsdUsage(std::FILE* out) {
    for (const auto& [name, op] : Operations())
        std::fprintf(out, "  osd %s%s%s\n", name.c_str(), *op.arguments ? " " : "", op.arguments);
}

int OsdCommand(const std::vector<std::string>& args) {
    const auto& ops = Operations();
    const auto it = args.empty() ? ops.end() : ops.find(args[0]);
    const std::vector<std::string> words(args.begin() + (args.empty() ? 0 : 1), args.end());
    const bool optional = it != ops.end() && it->first == "blit";
    if (it == ops.end())
        std::fprintf(
            stderr, "dvbctl osd: %s\n",
            args.empty() ? "OPERATION fehlt" : ("unbekannte Operation " + args[0]).c_str());
    if (it == ops.end() ||
        (words.size() != it->second.count && !(optional && words.size() == it->second.count + 1))) {
        if (it != ops.end())
            std::fprintf(stderr, "dvbctl osd %s: %zu %s erwartet\n", it->first.c_str(),
                         it->second.count, it->second.count == 1 ? "Argument" : "Argumente");
        std::fprintf(stderr, "Aufruf: dvbctl osd OPERATION ARGUMENTE\n");
        OsdUsage(stderr);
        return 2;
    }
    std::vector<std::uint32_t> numbers(words.size(), 0);
    const bool textLast = it->first == "text";
    for (size_t i = 0; i < words.size(); ++i) {
        if (it->first == "bmp" || (textLast && i == 3)) continue;
        if (!Number(words[i], numbers[i])) {
            std::fprintf(stderr, "dvbctl osd %s: keine Zahl: %s\n", it->first.c_str(),
                         words[i].c_str());
            return 2;
        }
    }
    if (!NeedCard()) return 1;
    COverlay overlay;
    const ErrReturn r = it->second.run(overlay, numbers, words);
    if (r != CCommonDVB::RET_OK) {
        std::fprintf(stderr, "dvbctl osd %s: fehlgeschlagen, Ergebnis %d\n", it->first.c_str(),
                     int(r));
        return 1;
    }
    return 0;
}
