" Vim compiler file: `tekkel check` on the current file, its FILE:LINE:COLUMN: lines in the
" quickfix list (errors, and warnings as `FILE:LINE:COLUMN: warning: message`).
if exists("current_compiler")
  finish
endif
let current_compiler = "tekkel"

if exists(":CompilerSet") != 2
  command -nargs=* CompilerSet setlocal <args>
endif

CompilerSet makeprg=tekkel\ check\ %:S
CompilerSet errorformat=%f:%l:%c:\ %tarning:\ %m,%f:%l:%c:\ %m,%-G%.%#
