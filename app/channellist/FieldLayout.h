#pragma once
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "channellist/ByteBlock.h"
#include "channellist/CArchiveReader.h"
#include "channellist/CArchiveWriter.h"

// A record describes its stored form once, as a list of pieces in file
// order, in a static `Fields(self, visitor)`:
//
//     v(self.Name);            a string
//     v(self.FrontendType);    a 32-bit or 16-bit number
//     v(Run{}, self);          a FixedRun: numbers stored back to back
//     v(self.Streams);         a 32-bit count and that many records
//     v(self.ProgramData1);    a byte block
//
// The visitors below load, store and size a record from that one list.

namespace layout {

template <class C, class T>
T MemberTypeOf(T C::*);
template <auto Member>
using MemberType = decltype(MemberTypeOf(Member));

/// Integer members stored back to back as little-endian numbers of their
/// own width; read with one bounds check.
template <auto... Members>
struct FixedRun {
    static constexpr std::size_t Count = sizeof...(Members);
    static constexpr std::array<std::uint8_t, Count> Widths{
        static_cast<std::uint8_t>(sizeof(MemberType<Members>))...};
    static constexpr std::array<std::size_t, Count> Offsets = [] {
        std::array<std::size_t, Count> offsets{};
        std::size_t at = 0;
        for (std::size_t i = 0; i < Count; ++i) {
            offsets[i] = at;
            at += Widths[i];
        }
        return offsets;
    }();
    static constexpr std::size_t Bytes = (sizeof(MemberType<Members>) + ...);
    static_assert(((std::is_integral_v<MemberType<Members>> &&
                    (sizeof(MemberType<Members>) == 2 || sizeof(MemberType<Members>) == 4)) &&
                   ...),
                  "a fixed run holds 16-bit and 32-bit numbers");
    static_assert(Bytes <= CArchiveReader::MaxFixedRun);

    template <class R>
    static void Decode(R& record, const std::uint8_t* p) {
        DecodeAt(record, p, std::make_index_sequence<Count>());
    }
    template <class R>
    static std::uint8_t* Encode(const R& record, std::uint8_t* p) {
        ((p = Put(p, record.*Members)), ...);
        return p;
    }

  private:
    template <class R, std::size_t... I>
    static void DecodeAt(R& record, const std::uint8_t* p, std::index_sequence<I...>) {
        ((record.*Members = Get<MemberType<Members>>(p + Offsets[I])), ...);
    }
    template <class T>
    static T Get(const std::uint8_t* p) {
        if constexpr (sizeof(T) == 2)
            return static_cast<T>(CArchiveReader::U16At(p));
        else
            return static_cast<T>(CArchiveReader::U32At(p));
    }
    template <class T>
    static std::uint8_t* Put(std::uint8_t* p, T v) {
        if constexpr (sizeof(T) == 2)
            return CArchiveWriter::PutU16(p, static_cast<std::uint16_t>(v));
        else
            return CArchiveWriter::PutU32(p, static_cast<std::uint32_t>(v));
    }
};

template <class T>
concept Number = std::is_integral_v<T> &&(sizeof(T) == 2 || sizeof(T) == 4);

/// Loads the pieces from a reader. The reader's position is borrowed for the
/// whole record (see CArchiveReader::Position), so that it stays in
/// registers while the record's fields are stored; the common forms are read
/// on it, anything else (long forms, faults) by the reader itself. Record
/// arrays stop at the first fault.
struct Loader {
    CArchiveReader& in;
    CArchiveReader::Position& at;

    [[gnu::always_inline]] void operator()(std::string& s) const {
        if (!CArchiveReader::TakeShortString(at, s)) Delegate([&] { in.ReadStringInto(s); });
    }
    [[gnu::always_inline]] void operator()(ByteBlock& b) const {
        if (!CArchiveReader::TakeInlineBlock(at, b)) Delegate([&] { in.ReadBytesInto(b); });
    }
    template <Number T>
    [[gnu::always_inline]] void operator()(T& v) const {
        if (!CArchiveReader::TakeNumber(at, v))
            Delegate([&] { v = static_cast<T>(sizeof(T) == 2 ? in.ReadU16() : in.ReadU32()); });
    }
    template <auto... M, class R>
    [[gnu::always_inline]] void operator()(FixedRun<M...>, R& record) const {
        using Run = FixedRun<M...>;
        const std::uint8_t* first = CArchiveReader::TakeRun(at, Run::Bytes);
        if (!first) [[unlikely]]
            Delegate([&] { first = in.ReadFixed(Run::Widths, Run::Bytes); });
        Run::Decode(record, first);
    }
    /// A signed 32-bit count, then the records, read in place. Every record
    /// that reads takes at least MinStoredBytes, so one more than the bytes
    /// left can hold must fail: the loop ends there, without a fault test per
    /// record, and a huge count in a short input fails at its end, not in the
    /// allocator. After a fault the remaining records read as empty.
    template <class T, class A>
    [[gnu::always_inline]] void operator()(std::vector<T, A>& records) const {
        const CArchiveReader::Position countAt = at;
        std::uint32_t stored = 0;
        (*this)(stored);
        const auto count = static_cast<std::int32_t>(stored);
        records.clear();
        if (count < 0) [[unlikely]]
            return Delegate([&] {
                in.GiveBack(countAt);
                in.Fail(T::NegativeCountMessage);
            });
        const std::size_t fit = at.Left() / T::MinStoredBytes;
        records.reserve(std::min<std::size_t>(static_cast<std::size_t>(count), fit));
        const std::size_t limit = std::min<std::size_t>(static_cast<std::size_t>(count), fit + 1);
        for (std::size_t i = 0; i < limit; ++i) T::Fields(records.emplace_back(), *this);
    }

  private:
    /// Lets the reader read one piece from the borrowed position.
    template <class F>
    [[gnu::always_inline]] void Delegate(F read) const {
        in.GiveBack(at);
        read();
        at = in.Borrow();
    }
};

/// Adds up the stored size of the pieces.
struct Sizer {
    std::size_t& size;

    void operator()(const std::string& s) const { size += CArchiveWriter::StringSize(s.size()); }
    void operator()(const ByteBlock& b) const { size += CArchiveWriter::BytesSize(b.size()); }
    template <Number T>
    void operator()(const T&) const {
        size += sizeof(T);
    }
    template <auto... M, class R>
    void operator()(FixedRun<M...>, const R&) const {
        size += FixedRun<M...>::Bytes;
    }
    template <class T, class A>
    void operator()(const std::vector<T, A>& records) const {
        size += 4;
        for (const T& r : records) size += r.StoredSize();
    }
};

/// Writes the pieces into room sized with Sizer.
struct Putter {
    std::uint8_t*& p;

    void operator()(const std::string& s) const { p = CArchiveWriter::PutString(p, s); }
    void operator()(const ByteBlock& b) const { p = CArchiveWriter::PutBytes(p, b); }
    template <Number T>
    void operator()(const T& v) const {
        if constexpr (sizeof(T) == 2)
            p = CArchiveWriter::PutU16(p, static_cast<std::uint16_t>(v));
        else
            p = CArchiveWriter::PutU32(p, static_cast<std::uint32_t>(v));
    }
    template <auto... M, class R>
    void operator()(FixedRun<M...>, const R& record) const {
        p = FixedRun<M...>::Encode(record, p);
    }
    template <class T, class A>
    void operator()(const std::vector<T, A>& records) const {
        p = CArchiveWriter::PutU32(p, static_cast<std::uint32_t>(records.size()));
        for (const T& r : records) p = r.Put(p);
    }
};

/// The three operations for a record R with a static Fields.
template <class R>
void Load(R& record, CArchiveReader& in) {
    CArchiveReader::Position at = in.Borrow();
    R::Fields(record, Loader{in, at});
    in.GiveBack(at);
}
template <class R>
std::size_t StoredSize(const R& record) {
    std::size_t size = 0;
    R::Fields(record, Sizer{size});
    return size;
}
template <class R>
std::uint8_t* Put(const R& record, std::uint8_t* p) {
    R::Fields(record, Putter{p});
    return p;
}
/// Sized first and written in one piece.
template <class R>
void Store(const R& record, CArchiveWriter& out) {
    Put(record, out.Extend(StoredSize(record)));
}

}  // namespace layout
