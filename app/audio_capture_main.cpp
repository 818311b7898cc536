// q407-audio-capture: records what the computer plays and hands its spectrum to the running Q407,
// which started it for the keyboard's music modes. See AudioCaptureProtocol.h for what travels
// on the bus and AudioCaptureService.h for what the program does.

#include "app/AudioCaptureProtocol.h"
#include "app/AudioCaptureService.h"
#include "app/RegisteredMessages.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <csignal>
#include <cstdio>
#include <sys/prctl.h>

int main(int argc, char** argv) {
    // Ends with the Q407 that started it, even when that one could not say so.
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QString::fromLatin1(q407::app::kCaptureProgram));

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        std::fprintf(stderr, "q407-audio-capture: no session bus\n");
        return q407::app::kCaptureNoBus;
    }
    q407::app::AudioCaptureService service(bus, QString::fromLatin1(q407::app::kBusService), {});
    if (const auto code = service.Claim()) {
        return *code;
    }
    QObject::connect(&service, &q407::app::AudioCaptureService::Finished, &application,
                     [](int code) { QCoreApplication::exit(code); });
    std::string reason;
    if (!service.StartRecording(reason)) {
        std::fprintf(stderr, "q407-audio-capture: %s\n", reason.c_str());
        return q407::app::kCaptureNoSoundServer;
    }
    return QCoreApplication::exec();
}
