; borde.asm: cycles the border through its eight colours for about five seconds,
; then gives BASIC its own border colour back and returns.
;
;   CLEAR 32767: LOAD "" CODE: RANDOMIZE USR 32768

        org 32768

start:  ld b, 0             ; 256 frames
        ld c, 0
cycle:  halt                ; wait for the next frame (BASIC keeps interrupts on)
        ld a, c
        rrca                ; a new colour every eight frames
        rrca
        rrca
        and 7
        out (254), a        ; border colour
        inc c
        djnz cycle
        ld a, (23624)       ; BORDCR: BASIC's border colour in bits 3-5
        rrca
        rrca
        rrca
        and 7
        out (254), a
        ret
