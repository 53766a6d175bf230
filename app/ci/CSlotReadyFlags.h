#pragma once
// Which CI slots hold a ready module, as the slot status messages say: status
// 2 sets a slot's flag, 0 clears it, every other status leaves it alone.

class CSlotReadyFlags {
  public:
    static constexpr int kSlots = 2;

    /// Applies a slot status; true when the flag of that slot changed.
    bool Apply(int slot, int status);
    /// Slot 1 or 2; false for any other number.
    bool Ready(int slot) const;

  private:
    bool ready_[kSlots] = {false, false};
};
