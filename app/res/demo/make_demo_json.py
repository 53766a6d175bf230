#!/usr/bin/env python3
"""Writes Demo.json, the source of the demo channel list Demo.svl.

The programs are services of the Astra 19.2 degrees east position as
published in the usual frequency lists (high band, horizontal and vertical
transponders, DVB-S). All programs use the LNB "Astra 19\u00b0" (high-band
LNB, oscillator 10.6 GHz, tone burst position A); the list carries the same
four LNB configurations as an imported .dvb list.

Regenerate:  python3 make_demo_json.py > Demo.json
             svltool from-json Demo.json Demo.svl
"""
import json

ASTRA = "Astra 19\u00b0"

def lang(code, audio_type=0):
    return [0x0A, 4] + [ord(c) for c in code] + [audio_type]

def stream(kind, pid, descriptors):
    types = {"video": 2, "audio": 3, "ttx": 6, "data": 11}
    return {"StreamType": types[kind], "Pid": pid, "Descriptors": bytes(descriptors).hex()}

def ttx(code):
    # teletext descriptor: language, type 1 (initial page) magazine 1, page 00
    return [0x56, 5] + [ord(c) for c in code] + [0x09, 0x00]

def tv(name, sid, pmt, video, audios, ttx_pid=0, ttx_lang="deu", encrypted=False):
    streams = [stream("video", video, [0x52, 1, 1])]
    for i, (pid, code) in enumerate(audios):
        streams.append(stream("audio", pid, [0x52, 1, 2 + i] + lang(code)))
    if ttx_pid:
        streams.append(stream("ttx", ttx_pid, [0x52, 1, 9] + ttx(ttx_lang)))
    return {"Name": name, "ServiceId": sid, "PmtPid": pmt, "PcrPid": video, "VideoPid": video,
            "AudioPid": audios[0][0], "TeletextPid": ttx_pid, "Streams": streams,
            "ProgramType": 0x10001 if encrypted else 1}

def radio(name, sid, pmt, audio, code="deu"):
    return {"Name": name, "ServiceId": sid, "PmtPid": pmt, "PcrPid": audio, "VideoPid": 0,
            "AudioPid": audio, "TeletextPid": 0, "ProgramType": 2,
            "Streams": [stream("audio", audio, lang(code))]}

def data(name, sid, pmt, pid):
    return {"Name": name, "ServiceId": sid, "PmtPid": pmt, "PcrPid": 0x1FFF, "VideoPid": 0,
            "AudioPid": 0, "TeletextPid": 0, "ProgramType": 0x0C,
            "Streams": [stream("data", pid, [0x52, 1, 0x20, 0x66, 2, 0x00, 0x05])]}

# (frequency kHz, polarisation 0 H / 1 V, symbol rate, TSID, ONID, provider, programs)
TRANSPONDERS = [
    (11836000, 0, 27500000, 1101, 1, "ARD", [
        tv("Das Erste", 28106, 100, 101, [(102, "deu"), (103, "mis")], 104),
        tv("Bayerisches FS S\u00fcd", 28107, 200, 201, [(202, "deu")], 204),
        tv("hr-fernsehen", 28108, 300, 301, [(302, "deu")], 304),
        tv("arte", 28109, 400, 401, [(402, "deu"), (403, "fra")], 404),
        tv("Phoenix", 28114, 500, 501, [(502, "deu")], 504),
    ]),
    (11953000, 0, 27500000, 1079, 1, "ZDFvision", [
        tv("ZDF", 28006, 100, 110, [(120, "deu"), (121, "mis")], 130),
        tv("3sat", 28007, 200, 210, [(220, "deu")], 230),
        tv("KiKA", 28008, 300, 310, [(320, "deu")], 330),
        tv("ZDFinfokanal", 28011, 600, 610, [(620, "deu")], 630),
        tv("ZDFdokukanal", 28014, 700, 710, [(720, "deu")], 730),
        data("ZDFvision Daten", 28020, 1000, 1010),
    ]),
    (12188000, 0, 27500000, 1089, 1, "RTL World", [
        tv("RTL Television", 12003, 44, 163, [(104, "deu")], 105),
        tv("RTL2", 12020, 47, 166, [(128, "deu")], 68),
        tv("SUPER RTL", 12040, 46, 165, [(120, "deu")], 65),
        tv("VOX", 12060, 48, 167, [(136, "deu")], 69),
        tv("n-tv", 12090, 50, 169, [(73, "deu")], 80),
    ]),
    (12544000, 0, 22000000, 1107, 1, "ProSiebenSat.1", [
        tv("SAT.1", 17500, 96, 255, [(256, "deu")], 32),
        tv("ProSieben", 17501, 97, 511, [(512, "deu")], 33),
        tv("kabel eins", 17502, 98, 767, [(768, "deu")], 34),
        tv("N24", 17503, 99, 1023, [(1024, "deu")], 35),
        tv("9Live", 17504, 100, 1279, [(1280, "deu")], 36),
    ]),
    (12266000, 0, 27500000, 1093, 1, "ARD", [
        radio("Bayern 1", 28400, 2100, 2101),
        radio("Bayern 2", 28401, 2110, 2111),
        radio("BAYERN 3", 28402, 2120, 2121),
        radio("BR-KLASSIK", 28403, 2130, 2131),
        radio("B5 aktuell", 28404, 2140, 2141),
        radio("hr1", 28419, 2200, 2201),
        radio("hr3", 28421, 2220, 2221),
    ]),
    (11797000, 0, 27500000, 4, 133, "PREMIERE", [
        tv("PREMIERE 1", 10, 96, 511, [(512, "deu"), (515, "eng")], 0, encrypted=True),
        tv("PREMIERE 2", 11, 97, 1023, [(1024, "deu"), (1027, "eng")], 0, encrypted=True),
        tv("PREMIERE 3", 43, 98, 767, [(768, "deu")], 0, encrypted=True),
        tv("PREMIERE 4", 9, 99, 1279, [(1280, "deu")], 0, encrypted=True),
        tv("PREMIERE AUSTRIA", 17, 101, 1535, [(1536, "deu")], 0, encrypted=True),
    ]),
    (12226000, 1, 27500000, 1057, 1, "SES ASTRA", [
        tv("EuroNews", 28010, 2220, 2221,
           [(2222, "eng"), (2223, "fra"), (2224, "deu"), (2225, "ita")], 2229, "eng"),
        tv("CNN Int.", 28522, 104, 165, [(100, "eng")], 0),
        tv("TV5MONDE EUROPE", 28525, 1100, 1101, [(1102, "fra")], 1104, "fra"),
    ]),
]

def lnb(kind, low, lof_low, diseqc_type, position):
    return {"LnbType": kind, "LowFrequency": low, "HighFrequency": 12750000,
            "SwitchFrequency": 11700000, "LowBandLof": lof_low, "HighBandLof": 10600000,
            "CBand": 0, "PowerOn": 1, "Tone22kHz": 1, "DiseqcType": diseqc_type,
            "DiseqcParameter": position, "DiseqcRepeat": 0}

def main():
    programs = []
    for freq, pol, sr, tsid, onid, provider, progs in TRANSPONDERS:
        for p in progs:
            record = {"Name": p["Name"], "Provider": provider, "FrontendType": 2, "LnbName": ASTRA,
                      "Frequency": freq, "PolarisationOrQam": pol, "SymbolRate": sr,
                      "ProgramType": p["ProgramType"], "CiAccess": 0,
                      "TransportStreamId": tsid, "NetworkId": 1, "OriginalNetworkId": onid,
                      "ServiceId": p["ServiceId"], "PcrPid": p["PcrPid"], "PmtPid": p["PmtPid"],
                      "VideoPid": p["VideoPid"], "AudioPid": p["AudioPid"],
                      "TeletextPid": p["TeletextPid"], "Streams": p["Streams"],
                      "ProgramData1": "", "ProgramData2": ""}
            programs.append(record)
    # The table in the insertion order that loading Demo.svl reconstructs
    # (file order, keys of one hash bucket newest first: "Hotbird 13°" and
    # "Universal 2" share one), so that dumping Demo.svl as JSON gives this
    # file back. Its file order is the one of an imported .dvb list.
    objects = [dict(Id=1, **lnb(3, 10700000, 9750000, 2, 2)),
               dict(Id=2, **lnb(3, 10700000, 9750000, 1, 1)),
               dict(Id=3, **lnb(3, 10700000, 9750000, 2, 3)),
               dict(Id=4, **lnb(2, 11700000, 10600000, 1, 0))]
    table = [{"Key": "Universal 1", "Object": 1}, {"Key": "Hotbird 13\u00b0", "Object": 2},
             {"Key": "Universal 2", "Object": 3}, {"Key": ASTRA, "Object": 4}]
    doc = {"Reserved": 0, "Programs": programs, "LnbObjects": objects, "Lnbs": table}
    print(json.dumps(doc, indent=2, ensure_ascii=False))

if __name__ == "__main__":
    main()
