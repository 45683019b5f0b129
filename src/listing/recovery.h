#pragma once
// The recovery file: the listing as a save would write it, kept beside the listing while the
// editor holds changes not yet saved, so a run that ends before a save (a closed window, a kill,
// a power cut) loses next to nothing. Named by the backup's rule with the extension ".rec".

#include <string>
#include <string_view>

std::string RecoveryFileName(const std::string& listingName);
// Claims the recovery file for this run: false when another GRAVIX on the same listing keeps
// it, and this run then keeps none.
bool ClaimRecovery(const std::string& listingName);

// Brings the recovery file up to date with text, what a save would write now: written whole (a
// new file renamed into place) while it differs from the listing on disk, removed once it is
// the same. A failure leaves the old recovery file and is not reported: the next save reports
// the disk's state.
void KeepRecovery(const std::string& listingName, std::string_view text);
void RemoveRecovery(const std::string& listingName);

// A recovery file is there and holds something other than the listing on disk.
bool HasRecovery(const std::string& listingName);
