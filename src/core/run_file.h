#pragma once

#include "core/deletion_plan.h"
#include "core/services.h"
#include "export/wide_key.h"
#include "util/encoded_text.h"

#include <optional>
#include <set>
#include <vector>

namespace tarvex {

// Each run that deletes with a backup writes one file of its own,
// Tarvex-YYYYMMDD-HHMMSS.reg, in the format regedit and reg import read
// exactly: importing it undoes that run alone.
inline constexpr char kRunFileStem[] = "Tarvex";

// The keys a plan deletes, in the order they go, each once: each entry or
// profile, then the IP settings or signatures after it, then what an
// uninstall of its device may take. An entry kept whole is not among them.
std::vector<AnsiText> KeysToGo(const DeletionPlan& plan);

// The run's file: the keys read whole through the wide calls when it is
// made, written before the first deletion, and cut down after the run to
// what the run deleted.
class RunFile {
public:
    // One key as read when the file was made.
    struct KeyRead {
        AnsiText key;
        std::optional<WideTree> tree;  // none for a key that is not there
        bool whole = true;             // nothing of it was lost to the read
        bool fits = true;              // a REGEDIT4 block in the ANSI code page holds it exactly
        bool held = true;              // read whole, and this file holds every name of it
    };

    RunFile(const Services& services, const std::vector<AnsiText>& keys);

    // The key as read, to back it up again without reading it twice; nothing for a key not among them.
    const KeyRead* Find(const AnsiText& key) const;

    // Every key read whole, and each of its names one a line can hold.
    bool Whole() const { return whole_; }
    // Whether a REGEDIT4 block in the ANSI code page holds the key exactly:
    // every name and text of its subtree one the code page carries. True for
    // a key that was not there. A name that breaks a line neither file holds.
    bool FitsRegedit4(const AnsiText& key) const;
    // Whether this file holds the key exactly: read whole, no name left out.
    bool Holds(const AnsiText& key) const;
    // Writes a new file under a dated name no file has, whole and on the
    // disk when this returns, never through a link; its name, or nothing.
    std::optional<Utf8Text> Write(const Utf8Text& backupFolder);
    // Leaves the file holding only the blocks of the keys in reached, or
    // removes it when none is: a restore brings back only what went.
    // False when the file is gone.
    bool KeepOnly(const std::set<AnsiText>& reached);

private:
    std::string Bytes(const std::set<AnsiText>* only) const;

    const Services& services_;
    std::vector<KeyRead> reads_;
    bool whole_ = true;
    std::optional<Utf8Text> file_;
};

}  // namespace tarvex
