// The JSON lines of the events: escaping, times and the once-per-event rule.
#include <gtest/gtest.h>

#include "EventJson.h"

namespace {

using svlepg::JsonString;

TEST(EventJson, StringsEscapeQuotesBackslashesAndControlCharacters) {
    EXPECT_EQ(JsonString("Tatort: \"Tödlich\"\\n"), "\"Tatort: \\\"Tödlich\\\"\\\\n\"");
    EXPECT_EQ(JsonString("a\nb\tc\x01\x1F"), "\"a\\nb\\tc\\u0001\\u001f\"");
    EXPECT_EQ(JsonString(""), "\"\"");
}

TEST(EventJson, StartInUtcOrNothing) {
    EXPECT_EQ(svlepg::IsoStart(0xEBDC, 0x201500), "2024-03-11T20:15:00Z");
    EXPECT_EQ(svlepg::IsoStart(0xFFFF, 0xFFFFFF), "");
    EXPECT_EQ(svlepg::IsoStart(0xEBDC, 0x2A0000), "");
    EXPECT_EQ(svlepg::IsoStart(0xEBDC, 0x235960), "");
}

TEST(EventJson, EachEventOncePerTableKindAndService) {
    EitSection s;
    s.tableId = 0x4E;
    s.serviceId = 28106;
    s.originalNetworkId = 8468;
    EitEvent e;
    e.eventId = 1234;
    e.mjd = 0xEBDC;
    e.startBcd = 0x201500;
    e.durationBcd = 0x013000;
    e.hasShortEvent = true;
    e.language = "deu";
    e.name = "Tagesschau";
    e.text = "Nachrichten\nWetter";
    s.events = {e};
    svlepg::CEventPrinter printer;
    EXPECT_EQ(printer.NewLines(s),
              "{\"service_id\":28106,\"event_id\":1234,\"table\":\"pf\",\"start\":"
              "\"2024-03-11T20:15:00Z\",\"duration_s\":5400,\"name\":\"Tagesschau\",\"text\":"
              "\"Nachrichten\\nWetter\",\"language\":\"deu\"}\n");
    EXPECT_EQ(printer.NewLines(s), "");  // the carousel repeats it
    s.tableId = 0x50;                    // the same event in the schedule is another line
    s.events[0].hasShortEvent = false;
    s.events[0].durationBcd = 0x00AA00;
    EXPECT_EQ(printer.NewLines(s),
              "{\"service_id\":28106,\"event_id\":1234,\"table\":\"schedule\",\"start\":"
              "\"2024-03-11T20:15:00Z\",\"duration_s\":null,\"name\":null,\"text\":null,"
              "\"language\":null}\n");
    s.serviceId = 28107;
    EXPECT_NE(printer.NewLines(s), "");
    EXPECT_EQ(printer.Printed(), 3u);
}

}  // namespace
