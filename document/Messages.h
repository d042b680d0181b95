#pragma once

// Texts that more than one place shows: the window's handlers, the character
// files service and the command line all take them from here, so a text can
// only be right or wrong once.

namespace Messages {

// The document's accessors throw this for an offset past the end of the image;
// it is also the refusal of an image too short to hold every field.
inline constexpr const char *OffsetOutOfRange = "offset out of range";

inline constexpr const char *OpenFileFirst = "Open a file first!";
inline constexpr const char *OpenDocumentFirst = "Open a document first!";
inline constexpr const char *OpenCharacterFirst = "You must open a character first!";
inline constexpr const char *NameTaken = "File already exist. Try a different character name.";
// A companion of the renamed character is in the way; %1 is its file name.
inline constexpr const char *CompanionNameTaken = "%1 already exists. Try a different character name.";
inline constexpr const char *InvalidName =
    "This is not a valid Diablo2 character name. Try to use only a-z, A-Z.\n";
inline constexpr const char *CantOpenCharacterFile = "Can't open the character file.";
inline constexpr const char *CantOpenBackupFile = "Can't open backup file.";

// Several files were dropped on the window; %1 is their number, %2 the one opened.
inline constexpr const char *FirstOfDropped = "%1 files were dropped; only the first, %2, is opened.";

// Another program holds the character's folder while it saves; %1 is the file.
inline constexpr const char *FileBusy =
    "%1 is being saved by another program. Try again?";
// The window's Rename failed after files had moved; every one went back.
inline constexpr const char *RenameUndone =
    "The character could not be saved under its new name. Every file keeps its old name.";

// A character saved in a file version this program does not know; %1 is its
// version, %2 the versions it knows.
inline constexpr const char *OtherVersionNotice =
    "This character was saved in file version %1, whose layout QUARVINEL does not know (it knows %2). "
    "It is open for the raw byte tools only; saving writes it as it is held.";
inline constexpr const char *OtherVersionSaveRisk =
    "This file has version %1, whose layout QUARVINEL does not know. Saving may damage it.";
// A file that does not start with the signature 55 AA 55 AA.
inline constexpr const char *NoSignatureNotice =
    "This file does not look like a character file: it does not start with a character file's signature. "
    "Values may be shown wrongly, and saving may damage the file.";
// The same, for a file that is not version 71's either: its bytes alone.
inline constexpr const char *NoSignatureHeldNotice =
    "This file does not look like a character file: it does not start with a character file's signature. "
    "It is open for the raw byte tools only; saving writes it as it is held.";
inline constexpr const char *NoSignatureSaveRisk =
    "This file does not look like a character file: it does not start with a character file's signature. "
    "Saving may damage it.";
// Save of a known later version's file held for the raw byte tools only.
inline constexpr const char *RawToolsOnlySaveRisk =
    "This file has version %1, whose values QUARVINEL cannot read here. Saving writes its bytes as they stand.";
// A command that changes values, given a file held for the raw byte tools only.
inline constexpr const char *RawToolsOnly =
    "This file is open for the raw byte tools only: it holds no character values to change.";
// A file too short to name a version; %1 says why.
inline constexpr const char *HeldNotice =
    "This file cannot be read as a character: %1. It is open for the raw byte tools only; saving writes it "
    "as it is held.";
// Save of a later file whose stored checksum did not match when it was loaded.
inline constexpr const char *ChecksumMended = "the stored checksum was wrong; this save writes a correct one";
inline constexpr const char *RefusedVersionNotice =
    "This character has file version %1, but it cannot be edited safely: %2. It is open for the raw "
    "byte tools only; saving writes it as it is held.";

} // namespace Messages

// Captions of the message boxes, named after the command that shows them.
namespace Captions {

inline constexpr const char *Title = "QUARVINEL";
inline constexpr const char *Open = "Open";
inline constexpr const char *Save = "Save";
inline constexpr const char *Reload = "Reload";
inline constexpr const char *Restore = "Restore";
inline constexpr const char *Backup = "Backup";
inline constexpr const char *RenameCharacter = "Rename Character";
inline constexpr const char *EditValue = "Edit value";
inline constexpr const char *Compare = "Compare";
inline constexpr const char *CompareResult = "Compare result";
inline constexpr const char *Help = "Quarvinel Help";

} // namespace Captions
