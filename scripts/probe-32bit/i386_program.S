# The 32-bit x86 program the probe starts: a static ELF executable without
# any library, so that nothing but the kernel (or a handler registered for
# such programs) is needed to run it. It writes one byte to its standard
# output once it runs, then reads its standard input until the end and exits
# with 0: the launcher looks at it while it waits.
        .text
        .globl  _start
_start:
        movl    $4, %eax            # write(1, &ready, 1)
        movl    $1, %ebx
        movl    $ready, %ecx
        movl    $1, %edx
        int     $0x80
wait_for_end:
        movl    $3, %eax            # read(0, &byte, 1) until it returns 0 or less
        xorl    %ebx, %ebx
        movl    $byte, %ecx
        movl    $1, %edx
        int     $0x80
        cmpl    $0, %eax
        jg      wait_for_end
        movl    $1, %eax            # exit(0)
        xorl    %ebx, %ebx
        int     $0x80

        .data
ready:  .ascii  "r"
byte:   .byte   0
