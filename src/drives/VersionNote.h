#pragma once

// The program's version texts travel in its ELF file as a note: owner "Quillon", type 1,
// in the section .note.quillon.version. The note's data is a run of NUL-terminated
// "path=value" entries, paths as the version texts have always been looked up:
//   VarFileInfo/Translation=080403A8          language 0804 (Chinese, PRC), code page 03A8 (936)
//   StringFileInfo/080403A8/FileVersion=0.19.0.8
//
// QUILLON_VERSION_NOTE(QUILLON_VERSION_ENTRY("...") ...) at file scope puts such a note
// into the object file being compiled.
#define QUILLON_VERSION_NOTE_OWNER "Quillon"
#define QUILLON_VERSION_NOTE_TYPE 1

#define QUILLON_VERSION_ENTRY(text) ".asciz \"" text "\"\n"
#define QUILLON_VERSION_NOTE(entries)                                                                                  \
    __asm__(".pushsection .note.quillon.version, \"a\", %note\n"                                                       \
            ".balign 4\n"                                                                                              \
            ".long 8\n"       /* size of the owner's name, NUL included */                                             \
            ".long 2f - 1f\n" /* size of the data */                                                                   \
            ".long 1\n"       /* type */                                                                               \
            ".asciz \"Quillon\"\n"                                                                                     \
            ".balign 4\n"                                                                                              \
            "1:\n" entries "2:\n"                                                                                      \
            ".balign 4\n"                                                                                              \
            ".popsection\n")
