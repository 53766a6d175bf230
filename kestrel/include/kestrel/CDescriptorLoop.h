#pragma once
// The bytes of one descriptor loop with a read cursor. Each call of
// GetNextDescriptor yields the descriptor at the cursor and moves past it; a
// descriptor whose length runs past the end of the loop is cut to the bytes
// that remain (a lone byte at the end is no descriptor).
//
// Stored form: the count of bytes (16-bit little-endian, or 0xFFFF and a
// 32-bit count from 0xFFFF bytes on), then the bytes.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

class CDescriptorLoop {
  public:
    static constexpr const char* kClassName = "CDescriptorLoop";

    CDescriptorLoop() = default;
    explicit CDescriptorLoop(std::span<const std::uint8_t> bytes);
    virtual ~CDescriptorLoop() = default;

    virtual const char* GetRuntimeClassName() const { return kClassName; }

    /// Replaces the bytes and puts the cursor back to the first descriptor.
    void SetData(std::span<const std::uint8_t> bytes);
    const std::vector<std::uint8_t>& GetData() const { return data_; }
    void ResetCursor() { cursor_ = 0; }
    std::size_t GetCursor() const { return cursor_; }

    /// False when fewer than 2 bytes remain after the cursor.
    bool GetNextDescriptor(std::uint8_t& tag, std::uint8_t& length, const std::uint8_t*& data);

    /// Appends the stored form.
    virtual void Store(std::vector<std::uint8_t>& out) const;
    /// Reads the stored form at pos and moves pos past it; false (nothing
    /// changed) when the bytes end first.
    virtual bool Load(std::span<const std::uint8_t> in, std::size_t& pos);

  protected:
    /// The same walk with the caller's cursor, for readers that keep the object const.
    bool NextAt(std::size_t& cursor, std::uint8_t& tag, std::uint8_t& length,
                const std::uint8_t*& data) const;

  private:
    std::vector<std::uint8_t> data_;
    std::size_t cursor_ = 0;
};
