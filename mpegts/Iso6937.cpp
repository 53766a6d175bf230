#include "Iso6937.h"

#include <array>
#include <string_view>

namespace mpegts::iso6937 {
namespace {

constexpr char32_t kNone = kReplacement;

// 0xA0-0xFF; 0xC0-0xCF are the diacritical marks and stand here as kNone.
constexpr std::array<char32_t, 96> kUpper = {
    0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x20AC, 0x00A5, kNone,  0x00A7,  // A0
    0x00A4, 0x2018, 0x201C, 0x00AB, 0x2190, 0x2191, 0x2192, 0x2193,  // A8
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00D7, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x00F7, 0x2019, 0x201D, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF,  // B8
    kNone,  kNone,  kNone,  kNone,  kNone,  kNone,  kNone,  kNone,   // C0
    kNone,  kNone,  kNone,  kNone,  kNone,  kNone,  kNone,  kNone,   // C8
    0x2015, 0x00B9, 0x00AE, 0x00A9, 0x2122, 0x266A, 0x00AC, 0x00A6,  // D0
    kNone,  kNone,  kNone,  kNone,  0x215B, 0x215C, 0x215D, 0x215E,  // D8
    0x2126, 0x00C6, 0x0110, 0x00AA, 0x0126, kNone,  0x0132, 0x013F,  // E0
    0x0141, 0x00D8, 0x0152, 0x00BA, 0x00DE, 0x0166, 0x014A, 0x0149,  // E8
    0x0138, 0x00E6, 0x0111, 0x00F0, 0x0127, 0x0131, 0x0133, 0x0140,  // F0
    0x0142, 0x00F8, 0x0153, 0x00DF, 0x00FE, 0x0167, 0x014B, 0x00AD,  // F8
};

// Per mark: its combining and spacing forms, the ASCII letters Unicode has a
// precomposed character for, and those characters in the same order.
struct Mark {
    char32_t combining;
    char32_t spacing;
    std::string_view letters;
    std::u16string_view composed;
};

// 0xC9 is the diaeresis of the table's first edition (its "umlaut"); 0xCC
// was the underline there and composes with nothing.
constexpr std::array<Mark, 15> kMarks = {{
    {0x0300, 0x0060, "AEINOUWYaeinouwy", u"ÀÈÌǸÒÙẀỲàèìǹòùẁỳ"},  // C1 grave
    {0x0301, 0x00B4, "ACEGIKLMNOPRSUWYZacegiklmnoprsuwyz",
     u"ÁĆÉǴÍḰĹḾŃÓṔŔŚÚẂÝŹáćéǵíḱĺḿńóṕŕśúẃýź"},                                        // C2 acute
    {0x0302, 0x005E, "ACEGHIJOSUWYZaceghijosuwyz", u"ÂĈÊĜĤÎĴÔŜÛŴŶẐâĉêĝĥîĵôŝûŵŷẑ"},  // C3
    {0x0303, 0x007E, "AEINOUVYaeinouvy", u"ÃẼĨÑÕŨṼỸãẽĩñõũṽỹ"},                      // C4 tilde
    {0x0304, 0x00AF, "AEGIOUYaegiouy", u"ĀĒḠĪŌŪȲāēḡīōūȳ"},                          // C5 macron
    {0x0306, 0x02D8, "AEGIOUaegiou", u"ĂĔĞĬŎŬăĕğĭŏŭ"},                              // C6 breve
    {0x0307, 0x02D9, "ABCDEFGHIMNOPRSTWXYZabcdefghmnoprstwxyz",
     u"ȦḂĊḊĖḞĠḢİṀṄȮṖṘṠṪẆẊẎŻȧḃċḋėḟġḣṁṅȯṗṙṡṫẇẋẏż"},                           // C7 dot above
    {0x0308, 0x00A8, "AEHIOUWXYaehiotuwxy", u"ÄËḦÏÖÜẄẌŸäëḧïöẗüẅẍÿ"},        // C8 diaeresis
    {0x0308, 0x00A8, "AEHIOUWXYaehiotuwxy", u"ÄËḦÏÖÜẄẌŸäëḧïöẗüẅẍÿ"},        // C9 (umlaut)
    {0x030A, 0x02DA, "AUauwy", u"ÅŮåůẘẙ"},                                  // CA ring
    {0x0327, 0x00B8, "CDEGHKLNRSTcdeghklnrst", u"ÇḐȨĢḨĶĻŅŖŞŢçḑȩģḩķļņŗşţ"},  // CB cedilla
    {0x0332, 0x005F, "", u""},                                              // CC underline
    {0x030B, 0x02DD, "OUou", u"ŐŰőű"},                                      // CD double acute
    {0x0328, 0x02DB, "AEIOUaeiou", u"ĄĘĮǪŲąęįǫų"},                          // CE ogonek
    {0x030C, 0x02C7, "ACDEGHIKLNORSTUZacdeghijklnorstuz",
     u"ǍČĎĚǦȞǏǨĽŇǑŘŠŤǓŽǎčďěǧȟǐǰǩľňǒřšťǔž"},  // CF caron
}};

const Mark& MarkOf(std::uint8_t mark) { return kMarks[std::size_t(mark - 0xC1)]; }

}  // namespace

char32_t Character(std::uint8_t byte) {
    if (byte < 0xA0) return byte;
    return kUpper[std::size_t(byte - 0xA0)];
}

char32_t Composed(std::uint8_t mark, std::uint8_t letter) {
    if (!IsDiacritic(mark)) return 0;
    const Mark& m = MarkOf(mark);
    const std::size_t at = m.letters.find(char(letter));
    return at == std::string_view::npos ? 0 : char32_t(m.composed[at]);
}

char32_t CombiningMark(std::uint8_t mark) { return IsDiacritic(mark) ? MarkOf(mark).combining : 0; }

char32_t SpacingMark(std::uint8_t mark) { return IsDiacritic(mark) ? MarkOf(mark).spacing : 0; }

}  // namespace mpegts::iso6937
