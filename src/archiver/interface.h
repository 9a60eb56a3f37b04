// The archiver interface: the public Info-ZIP Zip and UnZip DLL entry points with their
// records and callbacks. ZipLib.dll and UnZipLib.dll export these functions (undecorated,
// stdcall on 32-bit Windows) so that Info-ZIP's own DLLs and ours can stand in for each
// other; on POSIX the same functions are linked into the library.
//
// Windows' BOOL and unsigned long are 32 bits on both Windows ABIs; they are spelled with
// fixed-width types here so that the POSIX build has the same records.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define ZV_ARCHIVER_CALL __stdcall
#else
#define ZV_ARCHIVER_CALL
#endif

extern "C" {

typedef int32_t ZvBool;

// ------------------------------------------------------------------------------- Zip

// Message text (not terminated) and its length; the result is ignored.
typedef int(ZV_ARCHIVER_CALL ZipPrintCallback)(char* text, uint32_t length);
// Fills `buffer` (of `size` bytes) with a password; 0 when one was given.
typedef int(ZV_ARCHIVER_CALL ZipPasswordCallback)(char* buffer, int size, const char* prompt,
                                                  const char* name);
// The archive comment to store, or the buffer unchanged.
typedef char*(ZV_ARCHIVER_CALL ZipCommentCallback)(char* comment);
// Called before each entry is written with its name and the name's length; non-zero
// stops the run.
typedef int(ZV_ARCHIVER_CALL ZipServiceCallback)(const char* name, uint32_t length);

struct ZIPUSERFUNCTIONS {
  ZipPrintCallback* print;
  ZipPasswordCallback* password;
  ZipCommentCallback* comment;
  ZipServiceCallback* service;
};

// The option record. On 32-bit Windows it is 32 fields of 32 bits (128 bytes); the
// offsets callers know are those of that layout.
struct ZPOPT {
  char* Date;       // 0: only files after this date (mmddyyyy), with fIncludeDate/fExcludeDate
  char* szRootDir;  // 4: folder that relative names start from
  char* szTempDir;  // 8: folder for the temporary archive, with fTemp
  ZvBool fTemp;
  ZvBool fSuffix;
  ZvBool fEncrypt;       // 20
  ZvBool fSystem;        // 24: include hidden and system files
  ZvBool fVolume;        // 28: store the volume label
  ZvBool fExtra;         // 32: leave out extra attributes
  ZvBool fNoDirEntries;  // 36
  ZvBool fExcludeDate;
  ZvBool fIncludeDate;
  ZvBool fVerbose;  // 48
  ZvBool fQuiet;    // 52
  ZvBool fCRLF_LF;  // 56
  ZvBool fLF_CRLF;  // 60
  ZvBool fJunkDir;  // 64: drop folder names
  ZvBool fGrow;     // 68: append to an existing archive
  ZvBool fForce;
  ZvBool fMove;
  ZvBool fDeleteEntries;  // 80
  ZvBool fUpdate;         // 84
  ZvBool fFreshen;        // 88
  ZvBool fJunkSFX;
  ZvBool fLatestTime;
  ZvBool fComment;
  ZvBool fOffsets;
  ZvBool fPrivilege;
  ZvBool fEncryption;  // 112: set by the archiver when it can encrypt
  int32_t fRecurse;    // 116: 1 recurses into named folders, 2 also matches patterns there
  int32_t fRepair;
  char fLevel;  // 124: '0' to '9'; anything else is the default level 6
};

// The archive and the file specifications of one run.
struct ZCL {
  int argc;
  char* lpszZipFN;
  char** FNV;
};

int ZV_ARCHIVER_CALL ZpInit(ZIPUSERFUNCTIONS* functions);
ZvBool ZV_ARCHIVER_CALL ZpSetOptions(ZPOPT* options);
// Returns an Info-ZIP zip exit code (0 success, 12 nothing to do, ...).
int ZV_ARCHIVER_CALL ZpArchive(ZCL files);

// ----------------------------------------------------------------------------- UnZip

typedef int(ZV_ARCHIVER_CALL UnzipPrintCallback)(char* text, uint32_t length);
typedef int(ZV_ARCHIVER_CALL UnzipSoundCallback)(void);
// Asked before an existing file is replaced; answers one of the kReplace codes below.
typedef int(ZV_ARCHIVER_CALL UnzipReplaceCallback)(char* name);
typedef int(ZV_ARCHIVER_CALL UnzipPasswordCallback)(char* buffer, int size, const char* prompt,
                                                    const char* name);
// One listed entry: packed size, size, packed size in percent of the size, month, day,
// four-digit year, hour, minute, a blank, name, method, CRC, and 'E' when encrypted (' '
// otherwise).
typedef void(ZV_ARCHIVER_CALL UnzipEntryCallback)(uint32_t packedSize, uint32_t size,
                                                  uint32_t ratio, uint32_t month, uint32_t day,
                                                  uint32_t year, uint32_t hour, uint32_t minute,
                                                  char blank, const char* name, const char* method,
                                                  uint32_t crc, char encrypted);
// Called before each entry is processed with its name and the name's length; non-zero
// stops the run.
typedef int(ZV_ARCHIVER_CALL UnzipServiceCallback)(const char* name, uint32_t length);

enum : int {
  kReplaceNo = 100,
  kReplaceYes = 102,
  kReplaceAll = 103,
  kReplaceNone = 104,
};

struct USERFUNCTIONS {
  UnzipPrintCallback* print;
  UnzipSoundCallback* sound;
  UnzipReplaceCallback* replace;
  UnzipPasswordCallback* password;
  UnzipEntryCallback* SendApplicationMessage;
  UnzipServiceCallback* ServCallBk;
  uint32_t TotalSizeComp;
  uint32_t TotalSize;
  uint32_t CompFactor;
  uint32_t NumMembers;
  uint16_t cchComment;
};

// The option record: 17 fields of 32 bits on 32-bit Windows (68 bytes).
struct DCL {
  int32_t ExtractOnlyNewer;   // 0
  int32_t SpaceToUnderscore;  // 4
  int32_t PromptToOverwrite;  // 8
  int32_t fQuiet;             // 12: 0 all messages, 1 fewer, 2 none
  int32_t ncflag;             // 16: to standard output (not supported)
  int32_t ntflag;             // 20: test
  int32_t nvflag;             // 24: list
  int32_t nfflag;             // 28: freshen existing files only
  int32_t nzflag;             // 32: show the archive comment
  int32_t ndflag;             // 36: keep the entries' folders
  int32_t noflag;             // 40: overwrite without asking
  int32_t naflag;             // 44: text entries to the platform's line ends
  int32_t nZIflag;            // 48
  int32_t C_flag;             // 52: names match case-insensitively
  int32_t fPrivilege;         // 56
  char* lpszZipFN;            // 60
  char* lpszExtractDir;       // 64
};

struct UzpVersionNumber {
  uint8_t major;
  uint8_t minor;
  uint8_t patchlevel;
  uint8_t not_used;
};

struct UzpVer2 {
  uint32_t structlen;  // how many bytes of the record the caller has room for
  uint32_t flag;       // bit 0 beta, bit 1 uses zlib
  char betalevel[10];
  char date[20];
  char zlibversion[10];  // Info-ZIP: zlib_version (a zlib macro name)
  UzpVersionNumber unzip;
  UzpVersionNumber zipinfo;
  UzpVersionNumber os2dll;
  UzpVersionNumber windll;
  UzpVersionNumber dllapimin;
};

// Returns an Info-ZIP unzip exit code (0 success, 1 warnings, 2 and 3 archive errors, 9
// no archive, 11 no matching entry, 50 disk full, 80 stopped, 82 bad password, ...).
int ZV_ARCHIVER_CALL Wiz_SingleEntryUnzip(int ifnc, char** ifnv, int xfnc, char** xfnv,
                                          DCL* options, USERFUNCTIONS* functions);
void ZV_ARCHIVER_CALL UzpVersion2(UzpVer2* version);

}  // extern "C"

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(ZPOPT) == 128 && offsetof(ZPOPT, fRecurse) == 116);
static_assert(sizeof(DCL) == 68 && offsetof(DCL, lpszExtractDir) == 64);
#endif
static_assert(offsetof(UzpVer2, windll) == 60);
