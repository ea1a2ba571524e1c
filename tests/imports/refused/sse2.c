/* Adds a number to itself with SSE2 instructions and no check of the processor: a Pentium or a
   K6-2 would stop at the first of them, so the instruction check must refuse the file. */
__attribute__((target("sse2"))) int main(int argc, char** argv) {
    int sum = argc;
    (void)argv;
    __asm__ volatile("movd %0, %%xmm0\n\t"
                     "paddq %%xmm0, %%xmm0\n\t"
                     "movd %%xmm0, %0"
                     : "+r"(sum)
                     :
                     : "xmm0");
    return sum;
}
