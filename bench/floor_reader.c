/* The floor of the peer comparison: the least a process table reader can do per sample.
 * For every pid it reads /proc/PID/stat and /proc/PID/status and lists /proc/PID/fd; with
 * "threads" it lists /proc/PID/task instead and reads the stat and status file of every
 * thread, the least a reader of the threads can do.
 *
 *   floor_reader SAMPLES [threads]   prints "cpu_us_per_sample <value>"
 */
#define _GNU_SOURCE
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <unistd.h>

/* "/proc/", a pid, "/task/", a thread id and a file name: names are up to 255 bytes. */
#define PATH_SIZE 600

static char buffer[8192];
static volatile long sink;

static void read_file(const char* path) {
  int fd = open(path, O_RDONLY);
  if (fd < 0) return;
  ssize_t n = read(fd, buffer, sizeof buffer);
  if (n > 0) sink += buffer[0];
  close(fd);
}

static void count_fds(const char* path) {
  DIR* dir = opendir(path);
  if (dir == NULL) return;
  while (readdir(dir) != NULL) sink++;
  closedir(dir);
}

static void read_process(const char* pid) {
  char path[PATH_SIZE];
  snprintf(path, sizeof path, "/proc/%s/stat", pid);
  read_file(path);
  snprintf(path, sizeof path, "/proc/%s/status", pid);
  read_file(path);
  snprintf(path, sizeof path, "/proc/%s/fd", pid);
  count_fds(path);
}

static void read_threads(const char* pid) {
  char path[PATH_SIZE];
  snprintf(path, sizeof path, "/proc/%s/task", pid);
  DIR* task = opendir(path);
  if (task == NULL) return;
  struct dirent* entry;
  while ((entry = readdir(task)) != NULL) {
    if (entry->d_name[0] < '0' || entry->d_name[0] > '9') continue;
    snprintf(path, sizeof path, "/proc/%s/task/%s/stat", pid, entry->d_name);
    read_file(path);
    snprintf(path, sizeof path, "/proc/%s/task/%s/status", pid, entry->d_name);
    read_file(path);
  }
  closedir(task);
}

static void sample(int threads) {
  DIR* proc = opendir("/proc");
  struct dirent* entry;
  while ((entry = readdir(proc)) != NULL) {
    if (entry->d_name[0] < '0' || entry->d_name[0] > '9') continue;
    if (threads)
      read_threads(entry->d_name);
    else
      read_process(entry->d_name);
  }
  closedir(proc);
}

static double cpu_us(void) {
  struct rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e6 + usage.ru_utime.tv_usec +
         usage.ru_stime.tv_usec;
}

int main(int argc, char** argv) {
  int samples = argc > 1 ? atoi(argv[1]) : 100;
  if (samples < 1) samples = 1;
  int threads = argc > 2 && strcmp(argv[2], "threads") == 0;
  sample(threads); /* warm the dentry caches like the other peers' first sample */
  double start = cpu_us();
  for (int i = 0; i < samples; i++) sample(threads);
  printf("cpu_us_per_sample %.1f\n", (cpu_us() - start) / samples);
  return 0;
}
