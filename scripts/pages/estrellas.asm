; A field of 32 stars that fall down the screen until a key is pressed, then back to BASIC.
        ORG 32768
inicio: LD HL,estrellas
        LD B,32
        LD A,71
semilla:
        LD (HL),A               ; column
        INC HL
        RLCA
        XOR B
        LD (HL),A               ; row
        INC HL
        ADD A,B
        LD (HL),B               ; speed
        INC HL
        DJNZ semilla
bucle:  HALT
        LD IX,estrellas
        LD B,32
paso:   PUSH BC
        CALL borra
        LD A,(IX+1)
        ADD A,(IX+2)
        CP 192
        JR C,sigue
        SUB 192
sigue:  LD (IX+1),A
        CALL pinta
        POP BC
        INC IX
        INC IX
        INC IX
        DJNZ paso
        XOR A
        IN A,(254)
        CPL
        AND 31
        JR Z,bucle
        RET
borra:  CALL punto
        CPL
        AND (HL)
        LD (HL),A
        RET
pinta:  CALL punto
        OR (HL)
        LD (HL),A
        RET
; The screen address of the star at IX in HL and its pixel mask in A.
punto:  LD A,(IX+1)
        AND 7
        OR 64
        LD H,A
        LD A,(IX+1)
        RRA
        RRA
        RRA
        AND 24
        OR H
        LD H,A
        LD A,(IX+1)
        RLA
        RLA
        AND 224
        LD L,A
        LD A,(IX+0)
        RRA
        RRA
        RRA
        AND 31
        OR L
        LD L,A
        LD A,(IX+0)
        AND 7
        LD B,A
        LD A,128
        JR Z,listo
rota:   RRCA
        DJNZ rota
listo:  RET
estrellas:
v DEFL 29
        REPT 96
        DEFB v
v DEFL (v * 77 + 73) AND 255
        ENDM
