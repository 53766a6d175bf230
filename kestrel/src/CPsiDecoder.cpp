#include "kestrel/CPsiDecoder.h"

#include "PsiTables.h"
#include "RegistryKeyWriter.h"

namespace {

// Callback values: 0..4 the program map filters, then these two.
constexpr std::uint32_t kServiceCallback = CPsiDecoder::kProgramMapFilters;
constexpr std::uint32_t kAssociationCallback = kServiceCallback + 1;

constexpr std::uint16_t kPatPid = 0x0000, kSdtPid = 0x0011;
constexpr std::uint8_t kPatTable = 0x00, kPmtTable = 0x02, kSdtTable = 0x42;

std::vector<std::vector<std::uint8_t>> CopySections(const CTableFilter& filter) {
    std::vector<std::vector<std::uint8_t>> out;
    for (int i = 0; i <= filter.GetLastSection(); ++i) {
        const auto s = filter.GetSection(i);
        out.emplace_back(s.begin(), s.end());
    }
    return out;
}

std::vector<kestrel::psi::Bytes> Spans(const std::vector<std::vector<std::uint8_t>>& sections) {
    return {sections.begin(), sections.end()};
}

}  // namespace

CPsiDecoder::CPsiDecoder() : CPsiDecoder(kestrel::CRegistry::DefaultPath()) {}

CPsiDecoder::CPsiDecoder(std::string storePath)
    : storePath_(std::move(storePath)),
      store_(std::make_unique<kestrel::CRegistry>()),
      slots_(std::make_unique<kestrel::psi::ProgramSlots>()) {
    char* self = reinterpret_cast<char*>(this);
    for (std::uint32_t i = 0; i < pmtFilters_.size(); ++i)
        pmtFilters_[i].SetCallback(OnTable, self, i);
    sdtFilter_.SetCallback(OnTable, self, kServiceCallback);
    patFilter_.SetCallback(OnTable, self, kAssociationCallback);
}

CPsiDecoder::~CPsiDecoder() { AbortDecoding(); }

void CPsiDecoder::AbortDecoding() {
    for (auto& f : pmtFilters_) f.CloseFilter();
    sdtFilter_.CloseFilter();
    patFilter_.CloseFilter();
    patDone_ = pmtsDone_ = sdtReceived_ = sdtWritten_ = false;
    transportStreamId_ = 0;
}

int CPsiDecoder::StartDecoding(const char* rootKey, const char* subKey, const char* userInfo) {
    start_ = std::chrono::steady_clock::now();
    resultPath_ = std::string(rootKey ? rootKey : "") + "\\" + (subKey ? subKey : "");
    AbortDecoding();
    slots_->programs.clear();
    sdtSections_.clear();
    if (!store_->IsOpen()) store_->Open(storePath_);
    store_->DeleteKey(resultPath_);
    writer_ = std::make_unique<kestrel::psi::CRegistryKeyWriter>(*store_, resultPath_);
    writer_->String("", "User Info", userInfo ? userInfo : "");
    int error = 0;
    const int pat = patFilter_.OpenFilter(kPatPid, kPatTable, 0, 0, &error, 0, 0);
    if (pat != 0) return pat;
    const int sdt = sdtFilter_.OpenFilter(kSdtPid, kSdtTable, 0, 0, &error, 0, 0);
    if (sdt != 0) return sdt - 2;
    return 0;
}

int CPsiDecoder::GetProgress(int& patDone, int& pmtsDone, int& sdtReceived,
                             std::uint32_t& elapsedMs) {
    patDone = patDone_;
    pmtsDone = pmtsDone_;
    sdtReceived = sdtReceived_;
    elapsedMs = static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                               std::chrono::steady_clock::now() - start_)
                                               .count());
    return patDone_ && pmtsDone_ && sdtReceived_ ? 1 : 0;
}

void CPsiDecoder::OnTable(char* self, std::uint32_t index) {
    auto* decoder = reinterpret_cast<CPsiDecoder*>(self);
    if (!decoder->writer_) return;
    if (index == kAssociationCallback)
        decoder->OnAssociation();
    else if (index == kServiceCallback)
        decoder->OnServiceTable();
    else if (index < decoder->pmtFilters_.size())
        decoder->OnProgramMap(static_cast<int>(index));
}

void CPsiDecoder::OnAssociation() {
    const auto sections = CopySections(patFilter_);
    patFilter_.CloseFilter();
    {
        kestrel::psi::CRegistryKeyWriter::Batch batch(*writer_);
        const auto spans = Spans(sections);
        transportStreamId_ = kestrel::psi::DecodeAssociation(spans, *slots_, *writer_);
    }
    StartProgramMaps();
    patDone_ = true;
}

void CPsiDecoder::StartProgramMaps() {
    const int filters = slots_->MapFilterCount(kProgramMapFilters);
    for (int j = 0; j < filters; ++j)
        if (!NextProgramMap(j)) break;
    if (!AnyProgramMapOpen()) FinishProgramMaps();
}

bool CPsiDecoder::NextProgramMap(int filter) {
    for (int index = slots_->TakeNext(); index >= 0; index = slots_->TakeNext()) {
        auto& slot = slots_->programs[static_cast<std::size_t>(index)];
        int error = 0;
        if (pmtFilters_[static_cast<std::size_t>(filter)].OpenFilter(
                slot.pmtPid, kPmtTable, slot.number, 1, &error, 0, 0) == 0)
            return true;
        slot.state = kestrel::psi::MapState::Done;  // the card refused: go on without it
    }
    return false;
}

bool CPsiDecoder::AnyProgramMapOpen() const {
    for (const auto& f : pmtFilters_)
        if (f.IsOpened()) return true;
    return false;
}

void CPsiDecoder::FinishProgramMaps() {
    pmtsDone_ = true;
    TryServiceStep();
}

void CPsiDecoder::OnProgramMap(int filter) {
    auto& f = pmtFilters_[static_cast<std::size_t>(filter)];
    const auto section = f.GetSection(0);
    const std::vector<std::uint8_t> copy(section.begin(), section.end());
    f.CloseFilter();
    {
        kestrel::psi::CRegistryKeyWriter::Batch batch(*writer_);
        kestrel::psi::DecodeProgramMap(copy, *slots_, *writer_);
    }
    if (NextProgramMap(filter) || AnyProgramMapOpen()) return;
    FinishProgramMaps();
}

void CPsiDecoder::OnServiceTable() {
    sdtSections_ = CopySections(sdtFilter_);
    sdtFilter_.CloseFilter();
    sdtReceived_ = true;
    TryServiceStep();
}

void CPsiDecoder::TryServiceStep() {
    if (!sdtReceived_ || !pmtsDone_ || sdtWritten_) return;
    sdtWritten_ = true;
    kestrel::psi::CRegistryKeyWriter::Batch batch(*writer_);
    const auto spans = Spans(sdtSections_);
    kestrel::psi::DecodeServiceTable(spans, *slots_, *writer_);
}
