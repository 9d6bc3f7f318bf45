" Tekkel scripts (Haruvel)
autocmd BufRead,BufNewFile *.tkl setfiletype tekkel
