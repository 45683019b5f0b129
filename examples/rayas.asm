; rayas.asm: paints the screen in stripes of the eight paper colours and writes a
; greeting on them, then returns to BASIC.
;
;   CLEAR 32767: LOAD "" CODE: RANDOMIZE USR 32768

        org 32768

start:  ld hl, 22528        ; attribute memory: 24 rows of 32 cells
        ld c, 0             ; row
row:    ld a, c
        and 7
        rlca                ; paper colour in bits 3-5, black ink
        rlca
        rlca
        ld b, 32
cell:   ld (hl), a
        inc hl
        djnz cell
        inc c
        ld a, c
        cp 24
        jr nz, row
        ld a, 2             ; print on the upper screen
        call 5633           ; CHAN-OPEN
        ld de, text
        ld b, textEnd - text
print:  ld a, (de)
        rst 16              ; PRINT-A
        inc de
        djnz print
        ret

; RST 16 colours the text with the temporary attributes, not with the stripe beneath it:
; white ink on black paper keeps the greeting readable on any stripe.
text:   defb 22, 11, 7      ; AT 11, 7
        defb 16, 7          ; INK 7
        defb 17, 0          ; PAPER 0
        defb "HOLA DESDE GRAVIX"
textEnd:
