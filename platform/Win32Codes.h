// Win32 error codes, NTSTATUS values, attribute bits, access masks and value
// types that the platform services return or accept, with the numbers Windows
// gives them. Portable code (the logic above the seam, the in-memory fakes and
// the tests) uses these names instead of <windows.h>; the Win32
// implementations pass the numbers through unchanged. The names cannot be the
// Windows macro names: <windows.h> would rewrite them.
#pragma once

#include <cstdint>

namespace s::platform {

// What GetLastError returns; 0 is success.
using Win32Error = std::uint32_t;
// NTSTATUS: negative values are errors, 0x8xxxxxxx are warnings (still
// negative as a signed 32-bit number), 0 and positive values succeed.
using NtStatus = std::int32_t;

constexpr bool ntSuccess(NtStatus status)
{
    return status >= 0;
}

// Win32 errors.
inline constexpr Win32Error kErrorSuccess = 0;
inline constexpr Win32Error kErrorFileNotFound = 2;
inline constexpr Win32Error kErrorPathNotFound = 3;
inline constexpr Win32Error kErrorAccessDenied = 5;
inline constexpr Win32Error kErrorInvalidHandle = 6;
inline constexpr Win32Error kErrorInvalidDrive = 15;
inline constexpr Win32Error kErrorNoMoreFiles = 18;
inline constexpr Win32Error kErrorWriteProtect = 19;
inline constexpr Win32Error kErrorSharingViolation = 32;
inline constexpr Win32Error kErrorLockViolation = 33;
inline constexpr Win32Error kErrorBadNetpath = 53;
inline constexpr Win32Error kErrorBadDevType = 66;
inline constexpr Win32Error kErrorBadNetName = 67;
inline constexpr Win32Error kErrorInvalidParameter = 87;
inline constexpr Win32Error kErrorDiskFull = 112;
inline constexpr Win32Error kErrorInsufficientBuffer = 122;
inline constexpr Win32Error kErrorInvalidName = 123;
inline constexpr Win32Error kErrorProcNotFound = 127;
inline constexpr Win32Error kErrorDirNotEmpty = 145;
inline constexpr Win32Error kErrorBadPathname = 161;
inline constexpr Win32Error kErrorAlreadyExists = 183;
inline constexpr Win32Error kErrorFilenameExcedRange = 206;
inline constexpr Win32Error kErrorFileTooLarge = 223;
inline constexpr Win32Error kErrorMoreData = 234;
inline constexpr Win32Error kErrorNoMoreItems = 259;
inline constexpr Win32Error kErrorDirectory = 267;
inline constexpr Win32Error kErrorKeyDeleted = 1018;

// NTSTATUS values of the native key services.
inline constexpr NtStatus kStatusSuccess = 0;
inline constexpr NtStatus kStatusDatatypeMisalignment = static_cast<NtStatus>(0x80000002u);
inline constexpr NtStatus kStatusBufferOverflow = static_cast<NtStatus>(0x80000005u);
inline constexpr NtStatus kStatusNoMoreEntries = static_cast<NtStatus>(0x8000001Au);
inline constexpr NtStatus kStatusInvalidHandle = static_cast<NtStatus>(0xC0000008u);
inline constexpr NtStatus kStatusInvalidParameter = static_cast<NtStatus>(0xC000000Du);
inline constexpr NtStatus kStatusAccessDenied = static_cast<NtStatus>(0xC0000022u);
inline constexpr NtStatus kStatusBufferTooSmall = static_cast<NtStatus>(0xC0000023u);
inline constexpr NtStatus kStatusObjectNameInvalid = static_cast<NtStatus>(0xC0000033u);
inline constexpr NtStatus kStatusObjectNameNotFound = static_cast<NtStatus>(0xC0000034u);
inline constexpr NtStatus kStatusObjectPathSyntaxBad = static_cast<NtStatus>(0xC000003Bu);
inline constexpr NtStatus kStatusProcedureNotFound = static_cast<NtStatus>(0xC000007Au);
inline constexpr NtStatus kStatusInternalError = static_cast<NtStatus>(0xC00000E5u);
inline constexpr NtStatus kStatusNameTooLong = static_cast<NtStatus>(0xC0000106u);
inline constexpr NtStatus kStatusCannotDelete = static_cast<NtStatus>(0xC0000121u);
inline constexpr NtStatus kStatusKeyDeleted = static_cast<NtStatus>(0xC000017Cu);

// File attribute bits.
inline constexpr std::uint32_t kFileAttributeReadOnly = 0x1;
inline constexpr std::uint32_t kFileAttributeHidden = 0x2;
inline constexpr std::uint32_t kFileAttributeSystem = 0x4;
inline constexpr std::uint32_t kFileAttributeDirectory = 0x10;
inline constexpr std::uint32_t kFileAttributeArchive = 0x20;
inline constexpr std::uint32_t kFileAttributeNormal = 0x80;
inline constexpr std::uint32_t kFileAttributeTemporary = 0x100;
inline constexpr std::uint32_t kFileAttributeReparsePoint = 0x400;
inline constexpr std::uint32_t kFileAttributeOffline = 0x1000;
inline constexpr std::uint32_t kFileAttributeNotContentIndexed = 0x2000;
// What GetFileAttributesW returns on failure: every bit set, so that a
// missing path reads as a directory.
inline constexpr std::uint32_t kInvalidFileAttributes = 0xFFFFFFFF;

// Shell change notification events (SHChangeNotify).
inline constexpr long kShellEventDelete = 0x4;  // SHCNE_DELETE
inline constexpr long kShellEventRmdir = 0x10;  // SHCNE_RMDIR

// Registry access rights.
inline constexpr std::uint32_t kKeyQueryValue = 0x1;
inline constexpr std::uint32_t kKeySetValue = 0x2;
inline constexpr std::uint32_t kKeyCreateSubKey = 0x4;
inline constexpr std::uint32_t kKeyEnumerateSubKeys = 0x8;
inline constexpr std::uint32_t kKeyNotify = 0x10;
inline constexpr std::uint32_t kKeyCreateLink = 0x20;
inline constexpr std::uint32_t kKeyWow64_64Key = 0x100;
inline constexpr std::uint32_t kKeyWow64_32Key = 0x200;
inline constexpr std::uint32_t kAccessDelete = 0x10000;
inline constexpr std::uint32_t kAccessReadControl = 0x20000;
inline constexpr std::uint32_t kAccessWriteDac = 0x40000;
inline constexpr std::uint32_t kAccessWriteOwner = 0x80000;
inline constexpr std::uint32_t kKeyRead = 0x20019;       // KEY_READ
inline constexpr std::uint32_t kKeyWrite = 0x20006;      // KEY_WRITE
inline constexpr std::uint32_t kKeyAllAccess = 0xF003F;  // KEY_ALL_ACCESS
inline constexpr std::uint32_t kMaximumAllowed = 0x02000000;
inline constexpr std::uint32_t kGenericAll = 0x10000000;
inline constexpr std::uint32_t kGenericExecute = 0x20000000;
inline constexpr std::uint32_t kGenericWrite = 0x40000000;
inline constexpr std::uint32_t kGenericRead = 0x80000000;

// Registry value types.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegLink = 6;  // a link key's target: a native path, no terminating zero
inline constexpr std::uint32_t kRegMultiSz = 7;
inline constexpr std::uint32_t kRegQword = 11;

}  // namespace s::platform
