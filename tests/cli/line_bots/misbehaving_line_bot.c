/* A bot that is a program and speaks the line protocol until round 3 of a game, then breaks it in
 * the way its one argument names:
 *   garbage  answers a line that is no answer, with control characters in it
 *   late     never answers
 *   exit     exits with status 7
 *   close    closes its standard output and waits for the end of its input
 *   socket   opens a network socket
 *   peek     reads /etc/passwd and writes a file "escaped" in its folder, and exits with status 9
 *            when either worked (else plays on)
 * Until then it plays its first playable card from a valid set. */
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <unistd.h>

static long Field(const char *Line, int Index) {
    const char *At = Line;
    for (int I = 0; I < Index && At != NULL; ++I) {
        At = strchr(At, ' ');
        if (At != NULL) ++At;
    }
    return At != NULL ? strtol(At, NULL, 10) : 0;
}

int main(int Argc, char **Argv) {
    const char *Mode = Argc > 1 ? Argv[1] : "";
    char Line[4096];
    if (fgets(Line, sizeof Line, stdin) == NULL) return 1;
    printf("velkaran 1 Misbehaving\n");
    fflush(stdout);
    while (fgets(Line, sizeof Line, stdin) != NULL) {
        if (strncmp(Line, "start ", 6) == 0) {
            printf("set 1 2 14 23 24 25 27 28 29 32 48 33 34 35 50\n");
        } else if (strncmp(Line, "end ", 4) == 0) {
            printf("ok\n");
        } else if (Field(Line, 34) == 3) { /* turn: the round is its 35th word */
            if (strcmp(Mode, "garbage") == 0) {
                printf("I \001resign\t%s\n", "now");
            } else if (strcmp(Mode, "exit") == 0) {
                exit(7);
            } else if (strcmp(Mode, "close") == 0) {
                fclose(stdout);
                while (fgets(Line, sizeof Line, stdin) != NULL) {
                }
                return 0;
            } else if (strcmp(Mode, "socket") == 0) {
                const int Socket = socket(AF_INET, SOCK_STREAM, 0);
                printf("play %d\n", Socket >= 0 ? 50 : 1);
            } else if (strcmp(Mode, "peek") == 0) {
                const int Read = open("/etc/passwd", O_RDONLY);
                const int Written = open("escaped", O_WRONLY | O_CREAT | O_TRUNC, 0644);
                if (Read >= 0 || Written >= 0) exit(9);
                const long First = Field(Line, 18);
                printf("play %ld\n", First != 0 ? First : 50);
            } else {
                for (;;) pause();
            }
        } else {
            const long First = Field(Line, 18); /* the first playable card */
            printf("play %ld\n", First != 0 ? First : 50);
        }
        fflush(stdout);
    }
    return 0;
}
