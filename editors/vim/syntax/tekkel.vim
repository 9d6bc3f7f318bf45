" Vim syntax file
" Language:   Tekkel, the script language of Haruvel (*.tkl)
" The command and register names are those of the command table (tekkel/Opcodes.cpp); the test
" EditorGrammars.NameEveryCommandAndRegister fails when one is missing here.

if exists("b:current_syntax")
  finish
endif

syn case ignore
" A label's colon belongs to its word, so that a label named like a command (`Left:`) is a label.
syn iskeyword @,48-57,_,192-255,:

syn keyword tekkelCommand Break Nop Yield Jump Restart End Chain Label Wait JumpIfNotZero JumpIfZero
syn keyword tekkelCommand JumpIfNotNegative JumpIfNegative JumpIfValid JumpIfInvalid Set Move Alloc
syn keyword tekkelCommand FreeBlock FreeRange Select Dim Extend Add AddValue Sub SubValue Mul MulValue
syn keyword tekkelCommand IntDiv IntDivValue Inc Dec Div DivValue Int Sign Random RandomValue Compare
syn keyword tekkelCommand CompareValue Length Concat Left LeftValue Right RightValue ToNumber Message
syn keyword tekkelCommand SetShade PlayerStep PlayerVisible PlayerLayer PlayerPlane PlayerX PlayerY
syn keyword tekkelCommand PlayerFacing PlayerSheet ObjectStep ObjectVisible ObjectLayer ObjectPlane
syn keyword tekkelCommand ObjectX ObjectY ObjectFacing ObjectSheet ObjectEnabled ObjectDetached
syn keyword tekkelCommand ObjectSpeed SetActive FacePlayerDir Say SayPlain TestCell DirVector DumpLocals
syn keyword tekkelCommand DumpShared DumpAlloced
syn keyword tekkelRegister var R1 R2 R3 R4 R5 space varIndex mapSelect D1 D2 D3 work scriptNumber address
syn keyword tekkelRegister zeroFlag negativeFlag invalidFlag activeObject testLayer testPlane testX testY
syn keyword tekkelConstant true false null
syn keyword tekkelHeader last

syn match tekkelNumber "\%(\k\|\.\)\@<![-+]\=\%(\d\+\%(\.\d*\)\=\|\.\d\+\)\%(e[-+]\=\d\+\)\=[lf]\=\%(\k\|\.\)\@!"
syn match tekkelNumber "\k\@<![-+]\=\%(inf\|nan\)f\=\k\@!"
syn match tekkelHeader "^\s*\%(script\|own\)\>"
" `name:` at the start of a line, alone or before a command.
syn match tekkelLabel "^\s*[^[:space:],;\":]\+:"

syn match tekkelBadEscape contained "\\."
syn match tekkelEscape contained "\\\%([rnt\"\\]\|u\x\{4}\)"
syn region tekkelString start=+"+ skip=+\\.+ end=+"+ oneline contains=tekkelBadEscape,tekkelEscape
syn match tekkelComment ";.*$" contains=@Spell

hi def link tekkelCommand Statement
hi def link tekkelRegister Identifier
hi def link tekkelConstant Boolean
hi def link tekkelNumber Number
hi def link tekkelHeader PreProc
" The default colour schemes give Label the colour of Statement: a label would look like a
" command.
hi def link tekkelLabel Type
hi def link tekkelString String
hi def link tekkelEscape SpecialChar
hi def link tekkelBadEscape Error
hi def link tekkelComment Comment

let b:current_syntax = "tekkel"
