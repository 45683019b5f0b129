; Prints a five-digit score at the top of the screen with the ROM's character set, and adds
; the points in BC to it.
        ORG 60000
suma:   LD HL,(puntos)
        ADD HL,BC
        LD (puntos),HL
        LD DE,cifras
        LD BC,-10000
        CALL cifra
        LD BC,-1000
        CALL cifra
        LD BC,-100
        CALL cifra
        LD C,-10
        CALL cifra
        LD C,-1
        CALL cifra
        LD HL,cifras
        LD DE,16384+13
        LD B,5
letra:  PUSH BC
        PUSH HL
        PUSH DE
        LD A,(HL)
        LD L,A
        LD H,0
        ADD HL,HL
        ADD HL,HL
        ADD HL,HL
        LD BC,15360
        ADD HL,BC
        LD B,8
linea:  LD A,(HL)
        LD (DE),A
        INC HL
        INC D
        DJNZ linea
        POP DE
        INC DE
        POP HL
        INC HL
        POP BC
        DJNZ letra
        RET
cifra:  LD A,47
resta:  INC A
        ADD HL,BC
        JR C,resta
        SBC HL,BC
        LD (DE),A
        INC DE
        RET
puntos: DEFW 0
cifras: DEFB "00000"
atributos:
k DEFL 1
        REPT 64
        DEFB k
k DEFL (k * 5 + 3) AND 127
        ENDM
