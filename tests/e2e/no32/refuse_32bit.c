/* Runs a command as on a machine whose kernel runs no 32-bit programs: every system call made
 * from 32-bit code, by the command or anything it starts, ends that process (SIGSYS). A kernel
 * that refuses them fails the exec itself; either way no 32-bit program gets to do anything, so
 * the rig's choice of route and everything after it can be tried on a machine that does run
 * them. The filter is inherited and cannot be lifted.
 *
 *   refuse_32bit COMMAND [ARG...]
 */
#include <errno.h>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <stddef.h>
#include <stdio.h>
#include <string.h>
#include <sys/prctl.h>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: refuse_32bit COMMAND [ARG...]\n");
        return 2;
    }
    struct sock_filter code[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(struct seccomp_data, arch)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, AUDIT_ARCH_I386, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_KILL_PROCESS),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    struct sock_fprog prog = {sizeof code / sizeof code[0], code};
    /* Without this only a process with CAP_SYS_ADMIN may install a filter; it also keeps set-uid
     * programs from gaining rights under it, which none of ours needs. */
    if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 ||
        prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &prog) != 0) {
        fprintf(stderr, "refuse_32bit: cannot install the filter: %s\n", strerror(errno));
        return 1;
    }
    execvp(argv[1], argv + 1);
    fprintf(stderr, "refuse_32bit: %s: %s\n", argv[1], strerror(errno));
    return 127;
}
