" Tekkel scripts: `;` comments, and :make runs `tekkel check` on the file.
if exists("b:did_ftplugin")
  finish
endif
let b:did_ftplugin = 1

setlocal comments=:; commentstring=;\ %s
compiler tekkel
let b:undo_ftplugin = "setlocal comments< commentstring< makeprg< errorformat<"
