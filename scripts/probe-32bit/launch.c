/* launch <program>: starts <program> with execve() alone (no shell, no
 * search: execvp() would hand a file the kernel refuses to /bin/sh) and
 * prints on one line who ran it:
 *   native                 the kernel ran the program itself
 *   emulated <interpreter> the kernel handed it to <interpreter> (a binfmt_misc
 *                          handler such as qemu-i386-static, or a #! line)
 *   none <reason>          it did not run
 * The program has to write one byte to its standard output once it runs and
 * then wait for the end of its standard input (i386_program.S does). While it
 * waits, /proc/<pid>/exe names the file the kernel runs: the program itself,
 * or the interpreter it was handed to. Exits with 0 once it has a verdict. */
#define _GNU_SOURCE
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

/* An emulator starts in well under a second; the bound only keeps a program
 * that never answers from stopping the caller. */
static const int answer_timeout_ms = 20000;

static void close_pipe(int fds[2]) {
  close(fds[0]);
  close(fds[1]);
}

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: %s <program>\n", argv[0]);
    return 2;
  }
  const char* program = argv[1];
  char wanted[PATH_MAX];
  if (!realpath(program, wanted)) {
    printf("none %s: %s\n", program, strerror(errno));
    return 0;
  }

  int to_child[2], from_child[2], exec_error[2];
  if (pipe(to_child) != 0 || pipe(from_child) != 0 || pipe2(exec_error, O_CLOEXEC) != 0) {
    perror("launch: pipe");
    return 2;
  }
  pid_t pid = fork();
  if (pid < 0) {
    perror("launch: fork");
    return 2;
  }
  if (pid == 0) {
    dup2(to_child[0], 0);
    dup2(from_child[1], 1);
    close_pipe(to_child);
    close_pipe(from_child);
    close(exec_error[0]);
    char* child_argv[] = {(char*)program, NULL};
    execve(program, child_argv, environ);
    int error = errno;
    ssize_t ignored = write(exec_error[1], &error, sizeof error);
    (void)ignored;
    _exit(127);
  }
  close(to_child[0]);
  close(from_child[1]);
  close(exec_error[1]);

  int error = 0;
  ssize_t got = read(exec_error[0], &error, sizeof error);
  close(exec_error[0]);
  if (got == (ssize_t)sizeof error) {
    printf("none %s\n", strerror(error));
    waitpid(pid, NULL, 0);
    return 0;
  }

  /* Started: wait for its byte, then ask who runs it while it waits. */
  struct pollfd answer = {from_child[0], POLLIN, 0};
  char byte = 0;
  int ready = poll(&answer, 1, answer_timeout_ms);
  got = ready > 0 ? read(from_child[0], &byte, 1) : 0;
  char runner[PATH_MAX];
  ssize_t length = -1;
  int readlink_error = 0;
  if (got == 1) {
    char link[64];
    snprintf(link, sizeof link, "/proc/%d/exe", (int)pid);
    length = readlink(link, runner, sizeof runner - 1);
    readlink_error = errno;
  }
  if (ready <= 0) kill(pid, SIGKILL);
  close(to_child[1]);
  close(from_child[0]);
  int status = 0;
  waitpid(pid, &status, 0);

  if (ready == 0) {
    printf("none it started but gave no sign of running within %d s\n", answer_timeout_ms / 1000);
  } else if (got != 1) {
    if (WIFSIGNALED(status))
      printf("none it ended without a sign of running (signal %d)\n", WTERMSIG(status));
    else
      printf("none it ended without a sign of running (exit status %d)\n", WEXITSTATUS(status));
  } else if (length < 0) {
    printf("none it ran, but /proc does not tell what ran it: %s\n", strerror(readlink_error));
  } else {
    runner[length] = '\0';
    if (strcmp(runner, wanted) == 0)
      printf("native\n");
    else
      printf("emulated %s\n", runner);
  }
  return 0;
}
