// The platform interface uses the system calls' own names; the Windows
// headers' A/W macros must not rename them. Without an include guard: it is
// read again after every Windows header that may have defined them, since
// platform.h may have been read before windows.h.
#undef GetShortPathName
#undef GetLongPathName
#undef GetFullPathName
#undef SHFileOperation
#undef PathFileExists
#undef PathIsDirectory
