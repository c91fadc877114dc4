// The smallest GTK 2 program with a window: the floor under every start-up figure.
#include <gtk/gtk.h>

int main(int argc, char** argv) {
  if (!gtk_init_check(&argc, &argv)) return 2;
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), "bare window");
  gtk_window_set_default_size(GTK_WINDOW(window), 800, 600);
  g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
  gtk_widget_show(window);
  gtk_main();
  return 0;
}
