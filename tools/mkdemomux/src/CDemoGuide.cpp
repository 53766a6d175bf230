#include "CDemoGuide.h"

#include <array>
#include <cstddef>
#include <span>

namespace demomux {
namespace {

// Content nibbles (level 1 in the high four bits).
constexpr uint8_t kNews = 0x20, kNewsReport = 0x21, kNewsMagazine = 0x22, kDiscussion = 0x24;
constexpr uint8_t kMovie = 0x10, kDetective = 0x11, kAdventure = 0x12, kComedy = 0x14, kSoap = 0x15;
constexpr uint8_t kShow = 0x30, kQuiz = 0x31, kTalk = 0x33;
constexpr uint8_t kSport = 0x40, kFootball = 0x43;
constexpr uint8_t kChildren = 0x50, kCartoons = 0x55;
constexpr uint8_t kMusic = 0x60, kPop = 0x61, kClassical = 0x62, kJazz = 0x63, kFolk = 0x64;
constexpr uint8_t kArts = 0x70, kFactual = 0x90, kNature = 0x91, kTravel = 0xA1;

// Parental ratings: the minimum age less three.
constexpr uint8_t kFrom12 = 0x09, kFrom16 = 0x0D;

struct Title {
    const char* name;
    const char* text;
    const char* extended;
    uint8_t content;
    uint8_t rating;
};

enum class Kind {
    News,
    Weather,
    NewsMagazine,
    Magazine,
    Series,
    Show,
    Talk,
    Documentary,
    Children,
    Sport,
    Film,
    Crime,
    Prime,  // the evening's main programme: a film, a crime story, a show or sport
    RadioNews,
    RadioShow,
};

struct Slot {
    int minutes;
    Kind kind;
};

constexpr int kDayMinutes = 24 * 60;

// A TV day from 01:00 CET (00:00 UTC).
constexpr std::array kTvDay = {
    Slot{90, Kind::Film},          // 01:00
    Slot{45, Kind::Documentary},   // 02:30
    Slot{15, Kind::News},          // 03:15
    Slot{50, Kind::Series},        // 03:30
    Slot{40, Kind::Documentary},   // 04:20
    Slot{120, Kind::Magazine},     // 05:00
    Slot{120, Kind::Magazine},     // 07:00
    Slot{5, Kind::News},           // 09:00
    Slot{50, Kind::Series},        // 09:05
    Slot{5, Kind::Weather},        // 09:55
    Slot{60, Kind::Show},          // 10:00
    Slot{45, Kind::Documentary},   // 11:00
    Slot{15, Kind::Weather},       // 11:45
    Slot{15, Kind::News},          // 12:00
    Slot{45, Kind::Magazine},      // 12:15
    Slot{15, Kind::News},          // 13:00
    Slot{45, Kind::Documentary},   // 13:15
    Slot{60, Kind::Children},      // 14:00
    Slot{10, Kind::News},          // 15:00
    Slot{50, Kind::Series},        // 15:10
    Slot{60, Kind::Magazine},      // 16:00
    Slot{15, Kind::News},          // 17:00
    Slot{45, Kind::Show},          // 17:15
    Slot{50, Kind::Series},        // 18:00
    Slot{60, Kind::Sport},         // 18:50
    Slot{10, Kind::Weather},       // 19:50
    Slot{15, Kind::News},          // 20:00
    Slot{90, Kind::Prime},         // 20:15
    Slot{30, Kind::NewsMagazine},  // 21:45
    Slot{60, Kind::Talk},          // 22:15
    Slot{105, Kind::Film},         // 23:15
};

// A radio day from 01:00 CET: news on the odd hours, then two hours of a show.
constexpr std::array kRadioDay = {
    Slot{5, Kind::RadioNews}, Slot{115, Kind::RadioShow},  // 01:00
    Slot{5, Kind::RadioNews}, Slot{115, Kind::RadioShow},  // 03:00
    Slot{5, Kind::RadioNews}, Slot{115, Kind::RadioShow},  // 05:00
    Slot{5, Kind::RadioNews}, Slot{115, Kind::RadioShow},  // 07:00
    Slot{5, Kind::RadioNews}, Slot{115, Kind::RadioShow},  // 09:00
    Slot{5, Kind::RadioNews}, Slot{115, Kind::RadioShow},  // 11:00
    Slot{5, Kind::RadioNews}, Slot{115, Kind::RadioShow},  // 13:00
    Slot{5, Kind::RadioNews}, Slot{115, Kind::RadioShow},  // 15:00
    Slot{5, Kind::RadioNews}, Slot{115, Kind::RadioShow},  // 17:00
    Slot{5, Kind::RadioNews}, Slot{115, Kind::RadioShow},  // 19:00
    Slot{5, Kind::RadioNews}, Slot{115, Kind::RadioShow},  // 21:00
    Slot{5, Kind::RadioNews}, Slot{115, Kind::RadioShow},  // 23:00
};

constexpr int Sum(std::span<const Slot> day) {
    int total = 0;
    for (const Slot& s : day) total += s.minutes;
    return total;
}
static_assert(Sum(kTvDay) == kDayMinutes && Sum(kRadioDay) == kDayMinutes);

const Title kNewsTitles[] = {
    {"Tagesschau", "Nachrichten aus aller Welt", "", kNewsReport, 0},
    {"heute", "Die Meldungen des Tages", "", kNewsReport, 0},
    {"Nachrichten", "Aktuelles aus Politik, Wirtschaft und Kultur", "", kNews, 0},
};
const Title kWeatherTitles[] = {
    {"Wetter", "Das Wetter für Deutschland", "", kNewsReport, 0},
    {"Wetter", "Aussichten für die nächsten Tage", "", kNewsReport, 0},
};
const Title kNewsMagazineTitles[] = {
    {"Tagesthemen", "Berichte, Analysen und Kommentare zum Tag", "", kNewsMagazine, 0},
    {"heute journal", "Hintergründe zu den Nachrichten des Tages", "", kNewsMagazine, 0},
};
const Title kMagazineTitles[] = {
    {"Morgenmagazin", "Nachrichten, Service und Gäste am Morgen", "", kNewsMagazine, 0},
    {"Verbrauchermagazin", "Tipps für Haushalt, Geld und Gesundheit", "", kNewsMagazine, 0},
    {"Kulturzeit", "Bücher, Bühnen und Ausstellungen", "", kArts, 0},
    {"Länderspiegel", "Reportagen aus den Bundesländern", "", kNewsMagazine, 0},
};
const Title kSeriesTitles[] = {
    {"Familie Möller", "Folge: Der Umzug", "", kSoap, 0},
    {"Hotel Seeblick", "Folge: Ein Gast zu viel", "", kSoap, 0},
    {"Praxis Dr. Brückner", "Folge: Nachtdienst", "", kSoap, 0},
    {"Die Küstenwache von Föhr", "Folge: Sturmflut", "", kAdventure, 0},
};
const Title kShowTitles[] = {
    {"Das Städtequiz", "Zwei Teams raten quer durch Deutschland", "", kQuiz, 0},
    {"Wer weiß es?", "Das Wissensquiz mit Publikum", "", kQuiz, 0},
    {"Die große Samstagsshow", "Musik, Spiele und Überraschungsgäste", "", kShow, 0},
};
const Title kTalkTitles[] = {
    {"Talk am Abend", "Gäste aus Politik und Gesellschaft", "", kTalk, 0},
    {"Streitfrage", "Vier Gäste, eine Frage, eine Stunde", "", kDiscussion, 0},
};
const Title kDocumentaryTitles[] = {
    {"Dokumentation: Städte am Fluss", "Von Passau bis Köln",
     "Flüsse haben unsere Städte geformt: als Handelswege, als Grenzen und als Gefahr. Die "
     "Reihe folgt Donau, Main und Rhein und zeigt, wie Passau, Würzburg und Köln mit dem "
     "Wasser leben.",
     kFactual, 0},
    {"Dokumentation: Die Alpen im Winter", "Leben über der Baumgrenze",
     "Gämsen, Murmeltiere und Steinadler überstehen Monate bei Schnee und Frost. Ein Jahr lang "
     "haben die Tierfilmer die Hänge über dem Königssee beobachtet.",
     kNature, 0},
    {"Expedition Nordsee", "Watt, Inseln und Halligen", "", kTravel, 0},
    {"Dokumentation: Bäume, die Geschichte schrieben", "Von der Gerichtslinde bis zur Eiche", "",
     kFactual, 0},
};
const Title kChildrenTitles[] = {
    {"Die Abenteuer von Fritz Fuchs", "Zeichentrick für Kinder", "", kCartoons, 0},
    {"Kinderquatsch", "Spiele und Lieder zum Mitmachen", "", kChildren, 0},
    {"Märchenwald", "Das tapfere Schneiderlein", "", kChildren, 0},
};
const Title kSportTitles[] = {
    {"Sportschau", "Berichte vom Spieltag", "", kSport, 0},
    {"Fußball: Länderspiel", "Deutschland - Österreich, live", "", kFootball, 0},
    {"Radsport: Rund um den Bodensee", "Die Königsetappe", "", kSport, 0},
};
const Title kFilmTitles[] = {
    {"Spielfilm: Der Bär aus Übersee", "Abenteuerfilm, Deutschland 1998",
     "Ein kanadischer Braunbär entkommt bei einem Transport im Hamburger Hafen und zieht quer "
     "durch Norddeutschland. Die junge Tierärztin Lena Brückner folgt seiner Spur über Deiche, "
     "Dörfer und Äcker, während ein ehrgeiziger Reporter aus der Jagd eine Sensation machen "
     "will. Bald ist halb Niedersachsen auf den Beinen, und Lena muss sich entscheiden, ob sie "
     "dem Bären hilft oder den Behörden. Eine warmherzige Komödie über Mut, Neugier und die "
     "Frage, wem die Wildnis gehört. Mit schönen Aufnahmen aus der Lüneburger Heide und dem "
     "Wendland; gedreht im Spätsommer an über dreißig Orten zwischen Elbe und Weser.",
     kAdventure, kFrom12},
    {"Das Märchen vom Glück", "Liebesfilm, Österreich 1987",
     "Die Wiener Schneiderin Maria gewinnt in der Lotterie ein Haus am Wörthersee. Doch das "
     "Glück hat seine Tücken: Verwandte, von denen sie nie gehört hat, stehen vor der Tür, "
     "und der Nachbar, ein grantiger Bootsbauer, will das Grundstück für sich. Zwischen Streit "
     "und Sommerfest kommen sich die beiden näher.",
     kComedy, kFrom12},
    {"Spielfilm: Nächte in Görlitz", "Drama, Deutschland 2005",
     "Ein Nachtportier und eine Studentin, zwei Menschen ohne Schlaf in einer stillen Stadt an "
     "der Neiße. Über einen Winter begegnen sie sich Nacht für Nacht im Hotel am Postplatz, "
     "erzählen sich ihr Leben und verschweigen das Wichtigste. Als im Frühjahr die Gäste "
     "zurückkehren, müssen beide zeigen, was ihnen die Nächte bedeutet haben. Ein leiser Film "
     "über Nähe und Fremdheit, in langen Einstellungen und mit viel Gespür für die Stadt "
     "gedreht; ausgezeichnet mit dem Preis der Filmkritik für das beste Drehbuch.",
     kMovie, kFrom16},
    {"Spielfilm: Die Rückkehr des Fährmanns", "Heimatfilm, Deutschland 1961",
     "Nach zwanzig Jahren auf See kehrt Jakob in sein Dorf an der Elbe zurück und übernimmt "
     "die alte Fähre seines Vaters.",
     kMovie, kFrom12},
};
const Title kCrimeTitles[] = {
    {"Tatort: Tödliche Grüße", "Kriminalfilm, Deutschland 2001",
     "Eine Postkarte ohne Absender, darauf nur ein Datum: Drei Tage später wird in einer "
     "Kleingartenanlage am Stadtrand ein Toter gefunden. Die Kommissare Brandt und Öztürk "
     "stoßen auf eine Reihe solcher Karten, alle an Männer, die vor Jahren bei derselben "
     "Spedition gearbeitet haben. Während die Presse schon von einem Serientäter schreibt, "
     "führt die Spur in eine Nacht, über die alle Beteiligten lieber schweigen. Ein dichter "
     "Fall um Schuld, Freundschaft und die Frage, wie lange ein Geheimnis hält.",
     kDetective, kFrom16},
    {"Tatort: Schöne Aussicht", "Kriminalfilm, Deutschland 2003",
     "Ein Makler stürzt vom Balkon einer Musterwohnung. Die Kommissare ermitteln zwischen "
     "Baustelle, Bürgerinitiative und Rathaus.",
     kDetective, kFrom12},
    {"Polizeiruf: Der Überläufer", "Kriminalfilm, Deutschland 1994", "", kDetective, kFrom12},
};
const Title kRadioNewsTitles[] = {
    {"Nachrichten", "Meldungen, Wetter und Verkehr", "", kNewsReport, 0},
};
// Per two-hour block of the radio day, two shows that alternate by service and day.
const Title kRadioShowTitles[][2] = {
    {{"Musik zur Nacht", "Ruhige Töne bis zum Morgen", "", kMusic, 0},
     {"Nachtkonzert", "Kammermusik und Lieder", "", kClassical, 0}},
    {{"Musik zur Nacht", "Ruhige Töne bis zum Morgen", "", kMusic, 0},
     {"Nachtkonzert", "Kammermusik und Lieder", "", kClassical, 0}},
    {{"Musik am Morgen", "Gut gelaunt in den Tag", "", kPop, 0},
     {"Frühstücksradio", "Musik, Wetter und Verkehr", "", kPop, 0}},
    {{"Musik am Morgen", "Gut gelaunt in den Tag", "", kPop, 0},
     {"Frühstücksradio", "Musik, Wetter und Verkehr", "", kPop, 0}},
    {{"Klassik am Vormittag", "Sinfonien und Solokonzerte", "", kClassical, 0},
     {"Ratgeber", "Hörerfragen zu Garten und Gesundheit", "", kNewsMagazine, 0}},
    {{"Mittagsmagazin", "Aktuelles zur Mittagszeit", "", kNewsMagazine, 0},
     {"Mittagsmagazin", "Aktuelles zur Mittagszeit", "", kNewsMagazine, 0}},
    {{"Schlager und Volksmusik", "Wunschmelodien der Hörer", "", kFolk, 0},
     {"Am Nachmittag", "Musik und Gespräche", "", kPop, 0}},
    {{"Am Nachmittag", "Musik und Gespräche", "", kPop, 0},
     {"Heimatklänge", "Blasmusik aus Bayern und Österreich", "", kFolk, 0}},
    {{"Jazz und mehr", "Neue Platten, alte Meister", "", kJazz, 0},
     {"Hörspiel", "Der Fall Büchner, Teil 2", "", kArts, 0}},
    {{"Konzertabend", "Live aus dem Herkulessaal", "", kClassical, 0},
     {"Hörspiel", "Der Fall Büchner, Teil 2", "", kArts, 0}},
    {{"Konzertabend", "Live aus dem Herkulessaal", "", kClassical, 0},
     {"Jazz und mehr", "Neue Platten, alte Meister", "", kJazz, 0}},
    {{"Musik zur Nacht", "Ruhige Töne bis zum Morgen", "", kMusic, 0},
     {"Nachtkonzert", "Kammermusik und Lieder", "", kClassical, 0}},
};
static_assert(std::size(kRadioShowTitles) * 2 == std::size(kRadioDay));

template <size_t N>
const Title& Pick(const Title (&titles)[N], size_t turn) {
    return titles[turn % N];
}

// The title of a TV slot; turn rotates with the service, the day and the slot.
const Title& TvTitle(Kind kind, size_t turn, size_t day, uint16_t service) {
    switch (kind) {
        case Kind::News:
            return Pick(kNewsTitles, service);  // a channel keeps its news
        case Kind::Weather:
            return Pick(kWeatherTitles, turn);
        case Kind::NewsMagazine:
            return Pick(kNewsMagazineTitles, service);
        case Kind::Magazine:
            return Pick(kMagazineTitles, turn);
        case Kind::Series:
            return Pick(kSeriesTitles, turn);
        case Kind::Show:
            return Pick(kShowTitles, turn);
        case Kind::Talk:
            return Pick(kTalkTitles, turn);
        case Kind::Documentary:
            return Pick(kDocumentaryTitles, turn);
        case Kind::Children:
            return Pick(kChildrenTitles, turn);
        case Kind::Sport:
            return Pick(kSportTitles, turn);
        case Kind::Film:
            return Pick(kFilmTitles, turn);
        case Kind::Crime:
            return Pick(kCrimeTitles, turn);
        case Kind::Prime:
            switch ((day + service) % 4) {
                case 0:
                    return Pick(kCrimeTitles, turn);
                case 1:
                    return Pick(kFilmTitles, turn);
                case 2:
                    return Pick(kShowTitles, turn);
                default:
                    return Pick(kSportTitles, turn);
            }
        case Kind::RadioNews:
        case Kind::RadioShow:
            break;
    }
    return kNewsTitles[0];
}

}  // namespace

std::time_t CDemoGuide::ScheduleStart(std::time_t now) {
    std::time_t day = now / kDay;
    if (now % kDay < 0) --day;
    return day * kDay;
}

std::vector<DemoEvent> CDemoGuide::Events(const DemoProgram& p, std::time_t now) {
    std::vector<DemoEvent> out;
    if (!HasGuide(p)) return out;
    const bool tv = p.Tv();
    const std::span<const Slot> plan =
        tv ? std::span<const Slot>(kTvDay) : std::span<const Slot>(kRadioDay);
    const std::time_t first = ScheduleStart(now);
    for (int d = 0; d < kDays; ++d) {
        const std::time_t dayStart = first + d * kDay;
        // The day number since 1970 keeps titles and event ids of a day the same
        // whichever day the broadcast was built on.
        const auto dayNumber = size_t(dayStart / kDay);
        std::time_t at = dayStart;
        for (size_t i = 0; i < plan.size(); ++i) {
            const Slot& slot = plan[i];
            const size_t turn = p.serviceId + dayNumber * 3 + i;
            const Title& t = !tv ? (slot.kind == Kind::RadioNews
                                        ? kRadioNewsTitles[0]
                                        : kRadioShowTitles[i / 2][(p.serviceId + dayNumber) % 2])
                                 : TvTitle(slot.kind, turn, dayNumber, p.serviceId);
            DemoEvent e;
            e.eventId = uint16_t((dayNumber % 256) << 8 | (i + 1));
            e.start = at;
            e.durationSeconds = uint32_t(slot.minutes * 60);
            e.name = t.name;
            e.text = t.text;
            e.extended = t.extended;
            e.content = t.content;
            e.rating = t.rating;
            out.push_back(e);
            at += slot.minutes * 60;
        }
    }
    return out;
}

int CDemoGuide::Running(const std::vector<DemoEvent>& events, std::time_t t) {
    for (size_t i = 0; i < events.size(); ++i) {
        const DemoEvent& e = events[i];
        if (e.start <= t && t < e.start + std::time_t(e.durationSeconds)) return int(i);
    }
    return -1;
}

}  // namespace demomux
