#pragma once

/* Which build of the library is loaded: 28 zero-terminated texts, byte-packed, 12544 bytes. Plain C, so
 * that the C interface can return it by value; in C++ it is Pyx::LibraryInfo. */

#include <stddef.h>
#ifndef __cplusplus
#include <assert.h>
#endif

#ifdef __cplusplus
namespace Pyx
{
#endif

#pragma pack(push, 1)
typedef struct LibraryInfo
{
    char LibraryName[256];
    char ShortName[256];
    char Description[512];
    char CompanyName[256];
    char LegalNotice[512];
    char License[1024];
    char LongDescription[1024];
    char Version[256];
    char BuildVersion[256];
    char BumpType[256];
    char BuildNumber[256];
    char Branch[256];
    char BuildUrl[1024];
    char BuildType[256];
    char BuildDate[256];
    char BuildPlatform[256];
    char BuildToolchain[256];
    char Extra1[256];
    char Extra2[256];
    char Extra3[256];
    char RepositoryName[256];
    char Commit[256];
    char CommitHash[1024];
    char SourceRevision[1024];
    char BuildPath[1024];
    char IsAlphaBuild[256];
    char InformationalVersion[512];
    char Extra4[256];
} LibraryInfo;
#pragma pack(pop)

static_assert(sizeof(LibraryInfo) == 12544, "LibraryInfo is 12544 bytes");
static_assert(offsetof(LibraryInfo, LibraryName) == 0, "LibraryInfo.LibraryName at 0");
static_assert(offsetof(LibraryInfo, ShortName) == 256, "LibraryInfo.ShortName at 256");
static_assert(offsetof(LibraryInfo, Description) == 512, "LibraryInfo.Description at 512");
static_assert(offsetof(LibraryInfo, CompanyName) == 1024, "LibraryInfo.CompanyName at 1024");
static_assert(offsetof(LibraryInfo, LegalNotice) == 1280, "LibraryInfo.LegalNotice at 1280");
static_assert(offsetof(LibraryInfo, License) == 1792, "LibraryInfo.License at 1792");
static_assert(offsetof(LibraryInfo, LongDescription) == 2816, "LibraryInfo.LongDescription at 2816");
static_assert(offsetof(LibraryInfo, Version) == 3840, "LibraryInfo.Version at 3840");
static_assert(offsetof(LibraryInfo, BuildVersion) == 4096, "LibraryInfo.BuildVersion at 4096");
static_assert(offsetof(LibraryInfo, BumpType) == 4352, "LibraryInfo.BumpType at 4352");
static_assert(offsetof(LibraryInfo, BuildNumber) == 4608, "LibraryInfo.BuildNumber at 4608");
static_assert(offsetof(LibraryInfo, Branch) == 4864, "LibraryInfo.Branch at 4864");
static_assert(offsetof(LibraryInfo, BuildUrl) == 5120, "LibraryInfo.BuildUrl at 5120");
static_assert(offsetof(LibraryInfo, BuildType) == 6144, "LibraryInfo.BuildType at 6144");
static_assert(offsetof(LibraryInfo, BuildDate) == 6400, "LibraryInfo.BuildDate at 6400");
static_assert(offsetof(LibraryInfo, BuildPlatform) == 6656, "LibraryInfo.BuildPlatform at 6656");
static_assert(offsetof(LibraryInfo, BuildToolchain) == 6912, "LibraryInfo.BuildToolchain at 6912");
static_assert(offsetof(LibraryInfo, Extra1) == 7168, "LibraryInfo.Extra1 at 7168");
static_assert(offsetof(LibraryInfo, Extra2) == 7424, "LibraryInfo.Extra2 at 7424");
static_assert(offsetof(LibraryInfo, Extra3) == 7680, "LibraryInfo.Extra3 at 7680");
static_assert(offsetof(LibraryInfo, RepositoryName) == 7936, "LibraryInfo.RepositoryName at 7936");
static_assert(offsetof(LibraryInfo, Commit) == 8192, "LibraryInfo.Commit at 8192");
static_assert(offsetof(LibraryInfo, CommitHash) == 8448, "LibraryInfo.CommitHash at 8448");
static_assert(offsetof(LibraryInfo, SourceRevision) == 9472, "LibraryInfo.SourceRevision at 9472");
static_assert(offsetof(LibraryInfo, BuildPath) == 10496, "LibraryInfo.BuildPath at 10496");
static_assert(offsetof(LibraryInfo, IsAlphaBuild) == 11520, "LibraryInfo.IsAlphaBuild at 11520");
static_assert(offsetof(LibraryInfo, InformationalVersion) == 11776,
              "LibraryInfo.InformationalVersion at 11776");
static_assert(offsetof(LibraryInfo, Extra4) == 12288, "LibraryInfo.Extra4 at 12288");

#ifdef __cplusplus
} // namespace Pyx
#endif
