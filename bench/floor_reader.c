/* The floors of the peer comparison: the least a process table reader can do per sample.
 * For every pid it reads /proc/PID/stat, status and io and counts the open descriptors;
 * with "threads" it lists /proc/PID/task instead and reads the stat and status file of
 * every thread, the least a reader of the threads can do.
 *
 * The method is the best plain one known: the files are opened relative to a descriptor
 * of /proc/PID (or of its task directory), and the descriptors are counted by the size
 * that a stat() of /proc/PID/fd reports. "listing" is the method of a reader that does
 * neither: whole paths, and the fd directory listed.
 *
 *   floor_reader SAMPLES [threads] [listing]   prints "cpu_us_per_sample <value>"
 *   floor_reader SAMPLES shares                 prints the share of each file in the
 *                                               per-process time of both methods
 */
#define _GNU_SOURCE
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

/* "/proc/", a pid, "/task/", a thread id and a file name: names are up to 255 bytes. */
#define PATH_SIZE 600

static char buffer[8192];
static volatile long sink;
static int listing;

static void read_file_at(int dir, const char* path) {
  int fd = openat(dir, path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  ssize_t n = read(fd, buffer, sizeof buffer);
  if (n > 0) sink += buffer[0];
  close(fd);
}

static void list_fds(int dir, const char* path) {
  int fd = openat(dir, path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  DIR* fds = fdopendir(fd);
  if (fds == NULL) {
    close(fd);
    return;
  }
  while (readdir(fds) != NULL) sink++;
  closedir(fds);
}

static void count_fds_by_size(int dir, const char* path) {
  struct stat status;
  if (fstatat(dir, path, &status, 0) == 0) sink += status.st_size;
}

static void read_process(const char* pid) {
  char path[PATH_SIZE];
  if (listing) {
    static const char* const files[] = {"stat", "status", "io"};
    for (size_t i = 0; i < sizeof files / sizeof files[0]; i++) {
      snprintf(path, sizeof path, "/proc/%s/%s", pid, files[i]);
      read_file_at(AT_FDCWD, path);
    }
    snprintf(path, sizeof path, "/proc/%s/fd", pid);
    list_fds(AT_FDCWD, path);
    return;
  }
  snprintf(path, sizeof path, "/proc/%s", pid);
  int dir = open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) return;
  read_file_at(dir, "stat");
  read_file_at(dir, "status");
  read_file_at(dir, "io");
  count_fds_by_size(dir, "fd");
  close(dir);
}

static void read_thread(int task, const char* pid, const char* tid) {
  char path[PATH_SIZE];
  if (listing) {
    snprintf(path, sizeof path, "/proc/%s/task/%s/stat", pid, tid);
    read_file_at(AT_FDCWD, path);
    snprintf(path, sizeof path, "/proc/%s/task/%s/status", pid, tid);
    read_file_at(AT_FDCWD, path);
    return;
  }
  snprintf(path, sizeof path, "%s/stat", tid);
  read_file_at(task, path);
  snprintf(path, sizeof path, "%s/status", tid);
  read_file_at(task, path);
}

static void read_threads(const char* pid) {
  char path[PATH_SIZE];
  snprintf(path, sizeof path, "/proc/%s/task", pid);
  int task = open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (task < 0) return;
  DIR* tasks = fdopendir(dup(task));
  if (tasks == NULL) {
    close(task);
    return;
  }
  struct dirent* entry;
  while ((entry = readdir(tasks)) != NULL) {
    if (entry->d_name[0] < '0' || entry->d_name[0] > '9') continue;
    read_thread(task, pid, entry->d_name);
  }
  closedir(tasks);
  close(task);
}

static void sample(int threads) {
  DIR* proc = opendir("/proc");
  if (proc == NULL) return;
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

/* One part of a process's files, read for every pid by itself. */
enum part { STAT, STATUS, IO, FD_LISTED, FD_SIZE, PARTS };
static const char* const part_names[PARTS] = {"stat", "status", "io", "fd-listed", "fd-size"};

static void read_part(const char* pid, enum part part) {
  char path[PATH_SIZE];
  snprintf(path, sizeof path, "/proc/%s", pid);
  int dir = open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) return;
  if (part == FD_LISTED)
    list_fds(dir, "fd");
  else if (part == FD_SIZE)
    count_fds_by_size(dir, "fd");
  else
    read_file_at(dir, part_names[part]);
  close(dir);
}

static double part_cpu_us(enum part part, int samples) {
  double start = cpu_us();
  for (int i = 0; i < samples; i++) {
    DIR* proc = opendir("/proc");
    if (proc == NULL) return 0;
    struct dirent* entry;
    while ((entry = readdir(proc)) != NULL)
      if (entry->d_name[0] >= '1' && entry->d_name[0] <= '9') read_part(entry->d_name, part);
    closedir(proc);
  }
  return (cpu_us() - start) / samples;
}

/* The time of a part over all pids includes the walk of /proc and the open of each
 * /proc/PID, which every part shares: that walk alone is taken off each. */
static void print_shares(int samples) {
  double walk = 0, cost[PARTS];
  {
    double start = cpu_us();
    for (int i = 0; i < samples; i++) {
      DIR* proc = opendir("/proc");
      if (proc == NULL) return;
      struct dirent* entry;
      char path[PATH_SIZE];
      while ((entry = readdir(proc)) != NULL) {
        if (entry->d_name[0] < '1' || entry->d_name[0] > '9') continue;
        snprintf(path, sizeof path, "/proc/%s", entry->d_name);
        int dir = open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir >= 0) close(dir);
      }
      closedir(proc);
    }
    walk = (cpu_us() - start) / samples;
  }
  for (int part = 0; part < PARTS; part++) {
    cost[part] = part_cpu_us(part, samples) - walk;
    if (cost[part] < 0) cost[part] = 0;
  }
  const enum part fd_of[2] = {FD_LISTED, FD_SIZE};
  const char* const method[2] = {"listing", "st_size"};
  for (int m = 0; m < 2; m++) {
    double total = cost[STAT] + cost[STATUS] + cost[IO] + cost[fd_of[m]];
    printf("shares %-8s", method[m]);
    for (int part = STAT; part <= IO; part++)
      printf(" %s %.0f%%", part_names[part], 100 * cost[part] / total);
    printf(" %s %.0f%%\n", part_names[fd_of[m]], 100 * cost[fd_of[m]] / total);
  }
  printf("fd-listed/fd-size %.1f\n", cost[FD_SIZE] > 0 ? cost[FD_LISTED] / cost[FD_SIZE] : 0);
}

int main(int argc, char** argv) {
  int samples = argc > 1 ? atoi(argv[1]) : 100;
  if (samples < 1) samples = 1;
  int threads = 0;
  if (argc > 2 && strcmp(argv[2], "shares") == 0) {
    print_shares(samples);
    return 0;
  }
  for (int i = 2; i < argc; i++) {
    if (strcmp(argv[i], "threads") == 0) threads = 1;
    if (strcmp(argv[i], "listing") == 0) listing = 1;
  }
  sample(threads); /* warm the dentry caches like the other peers' first sample */
  double start = cpu_us();
  for (int i = 0; i < samples; i++) sample(threads);
  printf("cpu_us_per_sample %.1f\n", (cpu_us() - start) / samples);
  return 0;
}
