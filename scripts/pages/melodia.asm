; Plays a tune through the beeper from a table of notes, with the border flashing in time.
        ORG 40000
        DI
        LD HL,notas
nota:   LD E,(HL)
        INC HL
        LD D,(HL)
        INC HL
        LD A,D
        OR E
        JR Z,fin
        LD C,(HL)
        INC HL
        PUSH HL
        CALL tono
        POP HL
        JR nota
fin:    EI
        RET
; DE half-periods of C loops each; the border colour follows the note.
tono:   LD A,E
        AND 7
        LD B,A
ciclo:  LD A,B
        XOR 16
        LD B,A
        OUT (254),A
        PUSH DE
espera: DEC DE
        LD A,D
        OR E
        JR NZ,espera
        POP DE
        DEC C
        JR NZ,ciclo
        RET
notas:  DEFW 262,140
        DEFB 60
        DEFW 294,125
        DEFB 66
        DEFW 330,111
        DEFB 74
        DEFW 349,105
        DEFB 78
        DEFW 392,93
        DEFB 88
        DEFW 440,83
        DEFB 98
        DEFW 494,74
        DEFB 110
        DEFW 523,70
        DEFB 118
t DEFL 53
        REPT 120
        DEFB t
t DEFL (t * 109 + 197) AND 255
        ENDM
        DEFW 0
